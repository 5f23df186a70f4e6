#include "app/Capture_Son_Page.h"

#include "qt/Qt_Controls.h"
#include "qt/Sound_Files.h"

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
    CaptureSound(fCapturePasses, RecordFileName(), [this] { ShowAudioSample(); });
}

void TCaptureSonPage::Button5Click() {
    ShowAudioSample();
}

void TCaptureSonPage::Button3Click() {
    SendSoundCommand("Play waveaudio " + RecordFileName());
}

void TCaptureSonPage::ShowAudioSample() {
    ::ShowAudioSample(RecordFileName(), *CaptureSons_Image, fCaptureBitmap, *Memo1);
    // Repainting the window alone leaves its children as they were on X11
    // while the capture loop holds the event loop, so the picture goes first.
    CaptureSons_Image->Repaint();
    window()->repaint();
}
