// A page of the main window's page control: it owns its controls and handlers.
#pragma once

#include <QWidget>

class TPage : public QWidget {
    Q_OBJECT
  public:
    TPage(const char* name, QString caption);
    const QString& Caption() const { return fCaption; }

  private:
    QString fCaption;
};
