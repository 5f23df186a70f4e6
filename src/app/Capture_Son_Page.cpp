#include "app/Capture_Son_Page.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include "qt/Qt_Controls.h"
#include "qt/Qt_Status_Bar.h"
#include "qt/Sound_Files.h"

namespace {

// While the capture loop runs, the windows take no input between its passes but
// Escape, which asks the loop to stop, as closing the main window and the status
// bar's Stop do; any other click or key is answered in the status bar. The
// "Next" boxes, modal, get their input as usual.
class TCaptureStopKeys : public QObject {
  public:
    TCaptureStopKeys(QWidget* mainWindow, bool& stopAsked)
        : fMainWindow(mainWindow), fStopAsked(stopAsked) {
        qApp->installEventFilter(this);
    }
    ~TCaptureStopKeys() override { qApp->removeEventFilter(this); }

    // Lets the pending events run, then tells whether the user asked to stop.
    bool StopAsked() {
        QCoreApplication::processEvents();
        return fStopAsked;
    }
    // True for a while after a refused input, so that its answer stays readable.
    bool Answering() const { return fAnswered.isValid() && fAnswered.elapsed() < 2000; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == fMainWindow && event->type() == QEvent::Close) fStopAsked = true;
        if (QApplication::activeModalWidget()) return false;
        // Input reaches a window first and its widget next: it is judged there, so
        // that the status bar's Stop can be told from the rest.
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

  private:
    static bool OnStopButton(QObject* watched) {
        const TStatusBar* bar = ProgramStatus::Bar();
        return bar && watched == bar->Stop_Button;
    }
    void Refuse() {
        ProgramStatus::Say(QStringLiteral("A capture is running: Esc or Stop ends it"));
        fAnswered.start();
    }

    QWidget* fMainWindow;
    bool& fStopAsked;
    QElapsedTimer fAnswered;
};

// Shows the capture in the status bar and the busy cursor while it lives, also
// when an error ends the loop.
class TCaptureShown {
  public:
    explicit TCaptureShown(int passes) : fPasses(passes) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        ProgramStatus::RunStarts(QStringLiteral("Capture"), true);
        ShowPass(1);
    }
    ~TCaptureShown() {
        ProgramStatus::RunEnds(
            fDone == fPasses
                ? QStringLiteral("Capture ended after %1 passes").arg(fDone)
                : QStringLiteral("Capture stopped after %1 of %2 passes").arg(fDone).arg(fPasses));
        QApplication::restoreOverrideCursor();
    }
    TCaptureShown(const TCaptureShown&) = delete;
    TCaptureShown& operator=(const TCaptureShown&) = delete;

    // One more pass has been made and shown.
    void PassDone(bool sayIt) {
        ++fDone;
        ProgramStatus::RunProgress(fDone, fPasses);
        if (sayIt && fDone < fPasses) ShowPass(fDone + 1);
    }

  private:
    void ShowPass(int pass) {
        ProgramStatus::Say(
            QStringLiteral("Capturing: pass %1 of %2 (Esc to stop)").arg(pass).arg(fPasses));
    }

    int fPasses;
    int fDone = 0;
};

}  // namespace

TCaptureSonPage::TCaptureSonPage() : TPage("TabSheet5", QStringLiteral("Capture Son")) {
    Memo1 = MakeMemo(this, "Memo1", QRect(24, 24, 129, 137), TScrollBars::None);
    Memo1->Add("Memo1");
    CaptureSon_Button = MakeButton(this, "CaptureSon_Button",
                                   QStringLiteral("Capture son en cours"), QRect(184, 32, 113, 25));
    Button5 =
        MakeButton(this, "Button5", QStringLiteral("Affiche Fichier Son"), QRect(184, 80, 113, 25));
    MakeLabel(this, "Label10", QStringLiteral("Clic sur volume en bas a droite"), {352, 32});
    MakeLabel(this, "Label11",
              QStringLiteral("Options/Propriétés/enregistrement/cocher Stereo Mix"), {352, 56});
    CaptureSons_Image = new TPictureControl(this, QRect(8, 240, 665, 265));
    CaptureSons_Image->setObjectName(QStringLiteral("CaptureSons_Image"));
    ConnectClick(CaptureSon_Button, [this] { CaptureSon_ButtonClick(); });
    ConnectClick(Button5, [this] { Button5Click(); });
}

void TCaptureSonPage::CaptureSon_ButtonClick() {
    fStopAsked = false;
    fCapturing = true;
    TCaptureStopKeys stopKeys(window(), fStopAsked);
    TCaptureShown shown(fCapturePasses);
    struct TEnd {
        bool& capturing;
        ~TEnd() { capturing = false; }
    } end{fCapturing};
    CaptureSound(
        fCapturePasses, RecordFileName(),
        [this, &shown, &stopKeys] {
            const bool answered = ShowAudioSample();
            shown.PassDone(!stopKeys.Answering());
            return answered;
        },
        [&stopKeys] { return stopKeys.StopAsked(); });
}

void TCaptureSonPage::StopCapture() {
    if (fCapturing) fStopAsked = true;
}

void TCaptureSonPage::Button5Click() {
    ShowAudioSample();
}

void TCaptureSonPage::Button3Click() {
    SendSoundCommand("Play waveaudio " + RecordFileName());
}

bool TCaptureSonPage::ShowAudioSample() {
    const bool answered =
        ::ShowAudioSample(RecordFileName(), *CaptureSons_Image, fCaptureBitmap, *Memo1);
    // Repainting the window alone leaves its children as they were on X11
    // while the capture loop holds the event loop, so the picture goes first.
    CaptureSons_Image->Repaint();
    window()->repaint();
    return answered;
}
