// The standard open and save dialogs, as the windows use them: an initial folder,
// a filter, a title, Execute() and the chosen file name. A dialog opens in its
// initial folder the first time and in the folder of its last choice afterwards,
// also after a restart (the user's settings keep it under the dialog's name).
// Tests answer them through SetFileDialogResponder instead of a real dialog.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class TFileDialog {
  public:
    enum class Kind { Open, OpenPicture, Save };

    TFileDialog(QWidget* owner, QString name, Kind kind, QString initialDir = QString());

    // Shows the dialog; true when a file was chosen (FileName() then names it).
    bool Execute();
    // What one showing of a dialog shared by several pages asks for: its title,
    // filter and initial folder, and the name its last folder is kept under.
    struct TUse {
        QString title;
        QString filter;
        QString initialDir;
        QString memoryName;
    };
    // Shows the dialog for `use` once; the dialog's own settings stay as they were.
    bool ExecuteAs(const TUse& use);

    const QString& Name() const { return fName; }
    // The folder the dialog opens in, as the layout writes it (a Windows folder);
    // InitialFolder() gives the local folder it stands for.
    void SetInitialDir(const QString& dir) { fInitialDir = dir; }
    QString InitialFolder() const;
    // Where the dialog opens now: the folder of its last choice while that
    // still exists, else its initial folder.
    QString StartFolder() const;
    // The title says what the dialog asks for; the filter's first entry is the
    // one selected when the dialog opens.
    const QString& Title() const { return fTitle; }
    void SetTitle(const QString& title) { fTitle = title; }
    const QString& Filter() const { return fFilter; }
    void SetFilter(const QString& filter) { fFilter = filter; }
    const QString& FileName() const { return fFileName; }

  private:
    QWidget* fOwner;
    QString fName;
    Kind fKind;
    QString fMemoryName;
    QString fInitialDir;
    QString fTitle;
    QString fFilter;
    QString fFileName;
};

// Replaces every dialog: the responder gets the dialog and returns the chosen
// file name, or nothing for a cancelled dialog. An empty function restores the
// real dialogs.
using TFileDialogResponder = std::function<std::optional<QString>(const TFileDialog&)>;
void SetFileDialogResponder(TFileDialogResponder responder);
