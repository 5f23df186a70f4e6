#include "app/Capture_Son_Page.h"

#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Status_Bar.h"
#include "qt/Sound_Files.h"

namespace {

// Shows the passes of the capture in the status bar while the loop runs, and
// how the loop ended once it is over, also when an error ends it.
class TCapturePasses {
  public:
    TCapturePasses(TLongWork& work, int passes) : fWork(work), fPasses(passes) {
        ShowPass(1);
        SayTheEnd();
    }

    // One more pass has been made and shown.
    void PassDone() {
        ++fDone;
        ProgramStatus::RunProgress(fDone, fPasses);
        SayTheEnd();
        if (!fWork.Answering() && fDone < fPasses) ShowPass(fDone + 1);
    }

  private:
    void ShowPass(int pass) {
        ProgramStatus::Say(
            QStringLiteral("Capturing: pass %1 of %2 (Esc to stop)").arg(pass).arg(fPasses));
    }
    void SayTheEnd() {
        fWork.SetEndText(
            fDone == fPasses
                ? QStringLiteral("Capture ended after %1 passes").arg(fDone)
                : QStringLiteral("Capture stopped after %1 of %2 passes").arg(fDone).arg(fPasses));
    }

    TLongWork& fWork;
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
    TLongWork work(QStringLiteral("Capture"), TLongWork::TShow::AtOnce,
                   QStringLiteral("A capture is running: Esc or Stop ends it"));
    TCapturePasses passes(work, fCapturePasses);
    CaptureSound(
        fCapturePasses, RecordFileName(),
        [this, &passes] {
            const bool answered = ShowAudioSample();
            passes.PassDone();
            return answered;
        },
        [&work] { return work.StopAsked(); });
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
