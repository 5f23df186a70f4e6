#include "app/Capture_Son_Page.h"

#include <QApplication>
#include <QKeyEvent>

#include "qt/Qt_Controls.h"
#include "qt/Sound_Files.h"

namespace {

// While the capture loop runs, the windows take no input between its passes but
// Escape, which asks the loop to stop, as closing the main window does. The
// "Next" boxes, modal, get their input as usual.
class TCaptureStopKeys : public QObject {
  public:
    explicit TCaptureStopKeys(QWidget* mainWindow) : fMainWindow(mainWindow) {
        qApp->installEventFilter(this);
    }
    ~TCaptureStopKeys() override { qApp->removeEventFilter(this); }

    // Lets the pending events run, then tells whether the user asked to stop.
    bool StopAsked() {
        QCoreApplication::processEvents();
        return fStopAsked;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == fMainWindow && event->type() == QEvent::Close) fStopAsked = true;
        if (QApplication::activeModalWidget()) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) fStopAsked = true;
                return true;
            case QEvent::ShortcutOverride:
                // Taken as a key for the focused control, so that no shortcut runs
                // and Escape arrives here as a key press.
                event->accept();
                return true;
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                return true;
            default:
                return false;
        }
    }

  private:
    QWidget* fMainWindow;
    bool fStopAsked = false;
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
    TCaptureStopKeys stopKeys(window());
    CaptureSound(
        fCapturePasses, RecordFileName(), [this] { return ShowAudioSample(); },
        [&stopKeys] { return stopKeys.StopAsked(); });
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
