// Help for the person at the desktop: the guide window, which shows the user
// guide (one Markdown file, shared with the README), and the About box with the
// version, the licence and the libraries the program runs on.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

// Where the guide is: beside the installed program (PREFIX/share/doc/kavelin), or
// in the source tree the program was built from. "" when neither holds it.
QString GuideFile();

// The window titled "Kavelin Guide": the guide rendered by Qt, its pictures and
// links resolved beside the guide's file.
class TGuideForm : public QWidget {
    Q_OBJECT
  public:
    explicit TGuideForm(QWidget* owner);
    QTextBrowser* Guide_Browser;
};

// The box titled "About Kavelin".
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* owner);
    QLabel* About_Label;
};

// The text of the About box: name and version, what the program is, the licence,
// and one line per library with its version.
QString AboutText();
