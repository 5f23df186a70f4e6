// The status bar at the bottom of the main window, where the program speaks to
// the person outside the trace: what an action did, what is running and how far
// it has come, and a "Stop" button while a run that can be stopped goes on. The
// trace keeps its own lines; the status bar only adds words.
//
// Pages and handlers speak through the free functions of ProgramStatus, which
// reach the one status bar while it exists and do nothing otherwise (before the
// main window is made, in the command-line tool's engines, after it is gone).
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

class TStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit TStatusBar(QWidget* parent);
    ~TStatusBar() override;

    // What an action did; it stays until the next word.
    void Say(const QString& text);
    // A run begins: its name shows until it ends, with the Stop button when it can
    // be stopped (Escape stops it as well).
    void RunStarts(const QString& name, bool stoppable);
    // How far the run has come: done of total, in the work's own unit.
    void RunProgress(qint64 done, qint64 total);
    // The run is over; `text` (may be empty) says how it ended.
    void RunEnds(const QString& text = {});
    bool Running() const { return fRunning; }
    QString Text() const { return fMessage->text(); }

    QLabel* fMessage;
    QProgressBar* fProgress;
    QPushButton* Stop_Button;

  signals:
    // The Stop button was pressed.
    void StopWanted();

  private:
    bool fRunning = false;
    QString fRunName;
};

namespace ProgramStatus {
void Say(const QString& text);
void RunStarts(const QString& name, bool stoppable);
void RunProgress(qint64 done, qint64 total);
void RunEnds(const QString& text = {});
// The status bar while one exists, else nullptr.
TStatusBar* Bar();
}  // namespace ProgramStatus
