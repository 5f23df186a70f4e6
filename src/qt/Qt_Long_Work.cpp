#include "qt/Qt_Long_Work.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "qt/Qt_Status_Bar.h"

namespace {

// The events run this often at most while the work goes on: often enough for a
// click or a key to be answered at once, rarely enough to cost the work nothing.
constexpr qint64 kEventsEveryMs = 10;
constexpr qint64 kShowAfterMs = 500;
constexpr qint64 kAnswerStaysMs = 2000;

TLongWork* gCurrent = nullptr;

bool OnStopButton(QObject* watched) {
    const TStatusBar* bar = ProgramStatus::Bar();
    return bar && watched == bar->Stop_Button;
}

}  // namespace

TLongWork::TLongWork(const QString& name, TShow show, const QString& refusal)
    : fName(name),
      fRefusal(refusal.isEmpty() ? name + QStringLiteral(" is running: Esc or Stop ends it")
                                 : refusal),
      fOuter(gCurrent) {
    if (const TStatusBar* bar = ProgramStatus::Bar()) fMainWindow = bar->window();
    gCurrent = this;
    fStarted.start();
    if (show == TShow::AtOnce) Show();
}

TLongWork::~TLongWork() {
    gCurrent = fOuter;
    if (!fShown) return;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    ProgramStatus::RunEnds(!fEndText.isEmpty() ? fEndText
                           : fStopAsked        ? fName + QStringLiteral(" stopped")
                                               : fName + QStringLiteral(" ended"));
}

void TLongWork::Show() {
    fShown = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    ProgramStatus::RunStarts(fName, true);
    qApp->installEventFilter(this);
}

bool TLongWork::Report(std::int64_t done, std::int64_t total) {
    if (!fShown) {
        if (fStarted.elapsed() < kShowAfterMs) return fStopAsked;
        Show();
    }
    if (!fEventsRun.isValid() || fEventsRun.elapsed() >= kEventsEveryMs) {
        ProgramStatus::RunProgress(done, total);
        LetEventsRun();
    }
    return fStopAsked;
}

bool TLongWork::StopAsked() {
    LetEventsRun();
    return fStopAsked;
}

void TLongWork::LetEventsRun() {
    QCoreApplication::processEvents();
    fEventsRun.start();
}

bool TLongWork::Answering() const {
    return fAnswered.isValid() && fAnswered.elapsed() < kAnswerStaysMs;
}

void TLongWork::StopCurrent() {
    if (gCurrent) gCurrent->fStopAsked = true;
}

TLongWork* TLongWork::Current() {
    return gCurrent;
}

void TLongWork::Refuse() {
    ProgramStatus::Say(fRefusal);
    fAnswered.start();
}

bool TLongWork::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fMainWindow && event->type() == QEvent::Close) fStopAsked = true;
    if (QApplication::activeModalWidget()) return false;
    // Input reaches a window first and its widget next: it is judged at the
    // widget, so that the status bar's Stop can be told from the rest.
    if (!watched->isWidgetType()) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                fStopAsked = true;
            else
                Refuse();
            return true;
        case QEvent::ShortcutOverride:
            // Taken as a key for the focused control, so that no shortcut runs
            // and Escape arrives here as a key press.
            event->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (OnStopButton(watched)) return false;
            Refuse();
            return true;
        case QEvent::MouseButtonRelease:
            return !OnStopButton(watched);
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}
