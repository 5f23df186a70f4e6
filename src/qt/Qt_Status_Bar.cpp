#include "qt/Qt_Status_Bar.h"

namespace {

TStatusBar* gBar = nullptr;

}  // namespace

TStatusBar::TStatusBar(QWidget* parent)
    : QStatusBar(parent),
      fMessage(new QLabel(this)),
      fProgress(new QProgressBar(this)),
      Stop_Button(new QPushButton(QStringLiteral("Stop"), this)) {
    setObjectName(QStringLiteral("Kavelin_StatusBar"));
    fMessage->setObjectName(QStringLiteral("Status_Message"));
    fMessage->setTextFormat(Qt::PlainText);
    fProgress->setObjectName(QStringLiteral("Status_Progress"));
    fProgress->setMaximumWidth(160);
    fProgress->hide();
    Stop_Button->setObjectName(QStringLiteral("Status_Stop_Button"));
    Stop_Button->setToolTip(QStringLiteral("Ends the run under way, as Escape does"));
    // Clicking Stop leaves the focus where the person was working.
    Stop_Button->setFocusPolicy(Qt::NoFocus);
    Stop_Button->hide();
    addWidget(fMessage, 1);
    addPermanentWidget(fProgress);
    addPermanentWidget(Stop_Button);
    connect(Stop_Button, &QPushButton::clicked, this, &TStatusBar::StopWanted);
    if (!gBar) gBar = this;
}

TStatusBar::~TStatusBar() {
    if (gBar == this) gBar = nullptr;
}

void TStatusBar::Say(const QString& text) {
    fMessage->setText(text);
}

void TStatusBar::RunStarts(const QString& name, bool stoppable) {
    fRunning = true;
    fRunName = name;
    fMessage->setText(stoppable ? name + QStringLiteral(" is running: Esc or Stop ends it")
                                : name + QStringLiteral(" is running"));
    fProgress->hide();
    Stop_Button->setVisible(stoppable);
    // The bar shows the run before the first step's work blocks the window.
    repaint();
}

void TStatusBar::RunProgress(qint64 done, qint64 total) {
    if (!fRunning || total <= 0) return;
    // A progress bar counts in int: large totals are scaled down together.
    while (total > std::numeric_limits<int>::max()) {
        total /= 2;
        done /= 2;
    }
    fProgress->setRange(0, static_cast<int>(total));
    fProgress->setValue(static_cast<int>(std::clamp<qint64>(done, 0, total)));
    fProgress->show();
}

void TStatusBar::RunEnds(const QString& text) {
    fRunning = false;
    fProgress->hide();
    Stop_Button->hide();
    fMessage->setText(text.isEmpty() ? fRunName + QStringLiteral(" ended") : text);
}

namespace ProgramStatus {

TStatusBar* Bar() {
    return gBar;
}

void Say(const QString& text) {
    if (gBar) gBar->Say(text);
}

void RunStarts(const QString& name, bool stoppable) {
    if (gBar) gBar->RunStarts(name, stoppable);
}

void RunProgress(qint64 done, qint64 total) {
    if (gBar) gBar->RunProgress(done, total);
}

void RunEnds(const QString& text) {
    if (gBar) gBar->RunEnds(text);
}

}  // namespace ProgramStatus
