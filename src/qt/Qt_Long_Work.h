// A long piece of work run by a window's handler, in the window's own thread:
// the progress that the handler gives its engine.
//
// The first half second passes as before, the window waiting. After it, the
// status bar shows the work's name, its progress and the Stop button, the busy
// cursor shows, and each report lets the window's pending events run (a few
// milliseconds apart), so that the windows paint. Of the input, only Escape,
// the Stop button and closing the main window get through, and all three ask
// the work to stop; any other click or key is answered in the status bar with
// "<Name> is running: Esc or Stop ends it" instead of reaching a control, so
// that nothing else runs meanwhile. A modal box that the work opens gets its
// input as usual.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "base/Progress.h"

class QWidget;

class TLongWork final : public QObject, public TProgress {
  public:
    enum class TShow {
        AfterHalfSecond,  // the usual: short work shows nothing
        AtOnce,           // work that waits on the person or a device from its start
    };

    // `name` is what the status bar calls the work ("Text distance"); `refusal`
    // answers the input the work refuses (by default "<name> is running: Esc or
    // Stop ends it").
    explicit TLongWork(const QString& name, TShow show = TShow::AfterHalfSecond,
                       const QString& refusal = {});
    ~TLongWork() override;
    TLongWork(const TLongWork&) = delete;
    TLongWork& operator=(const TLongWork&) = delete;

    bool Report(std::int64_t done, std::int64_t total) override;
    // Lets the pending events run now and tells whether a stop was asked.
    bool StopAsked();
    // What the status bar says when the work ends (by default "<name> ended", or
    // "<name> stopped" after a stop).
    void SetEndText(const QString& text) { fEndText = text; }
    // True for two seconds after a refused input, so that its answer stays
    // readable before the work writes its own progress words again.
    bool Answering() const;
    // Whether the status bar shows the work (the first half second is over).
    bool Shown() const { return fShown; }

    // Asks the innermost running work to stop: the status bar's Stop and the
    // main window's closing reach it through here. Nothing when none runs.
    static void StopCurrent();
    // The innermost running work, or nullptr.
    static TLongWork* Current();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Show();
    void LetEventsRun();
    void Refuse();

    QString fName;
    QString fRefusal;
    QString fEndText;
    QWidget* fMainWindow = nullptr;
    TLongWork* fOuter = nullptr;
    QElapsedTimer fStarted;
    QElapsedTimer fEventsRun;
    QElapsedTimer fAnswered;
    bool fShown = false;
    bool fStopAsked = false;
};
