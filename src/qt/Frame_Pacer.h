// Runs an action at the screen's pace: however many requests come in between, the
// action runs once a frame has passed since it last ran, and at the next pass of
// the event loop when that is already so. The trace and the grids show a running
// search through it, so a search that changes them at every step repaints them
// about sixty times a second, not at every step.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class TFramePacer {
  public:
    static constexpr int kFrameMilliseconds = 16;

    TFramePacer(QObject* context, std::function<void()> action);
    // Asks for the action at the next frame.
    void Request();
    // The action is about to run outside the pace (it was asked for something
    // that cannot wait): the request is withdrawn, and the frame counts from now.
    void RunningNow();

  private:
    QTimer fTimer;
    QElapsedTimer fLastRun;
};
