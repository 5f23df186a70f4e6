#include "qt/Frame_Pacer.h"

#include <algorithm>
#include <utility>

TFramePacer::TFramePacer(QObject* context, std::function<void()> action) {
    fTimer.setSingleShot(true);
    QObject::connect(&fTimer, &QTimer::timeout, context, std::move(action));
}

void TFramePacer::Request() {
    if (fTimer.isActive()) return;
    const qint64 since = fLastRun.isValid() ? fLastRun.elapsed() : kFrameMilliseconds;
    fTimer.start(static_cast<int>(std::max<qint64>(0, kFrameMilliseconds - since)));
}

void TFramePacer::RunningNow() {
    fTimer.stop();
    fLastRun.start();
}
