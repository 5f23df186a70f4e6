// Presses Escape in a window test the first time long work shows itself in the
// status bar, as a person would once they see it run, and keeps what the status
// bar said at that moment.
#pragma once

#include <QString>
#include <QTest>
#include <QTimer>

#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Status_Bar.h"

class TEscapeWhenShown {
  public:
    // Looks every 20 ms, from the event loop that the work's reports run.
    explicit TEscapeWhenShown(QWidget* target) {
        QObject::connect(&fLook, &QTimer::timeout, [this, target] {
            const TLongWork* work = TLongWork::Current();
            if (!work || !work->Shown() || !Shown.isEmpty()) return;
            Shown = ProgramStatus::Bar()->Text();
            fLook.stop();
            QTest::keyClick(target, Qt::Key_Escape);
        });
        fLook.start(20);
    }

    // The status bar's text when Escape went; empty while the work has not shown.
    QString Shown;

  private:
    QTimer fLook;
};
