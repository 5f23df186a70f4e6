#include "app/Neuronal_Network_Page.h"

#include "platform/Message_Box.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"

TBrain* Brain = nullptr;

TNeuronalNetworkPage::TNeuronalNetworkPage()
    : TPage("TabSheet9", QStringLiteral("Neuronal  Network")) {
    NeuronalNetwork2_Button =
        MakeButton(this, "NeuronalNetwork2_Button", QStringLiteral("Neuronal Network 2"),
                   QRect(40, 52, 105, 25));
    Neuronal_Network_Image = new TPictureControl(this, QRect(176, 48, 457, 393));
    Neuronal_Network_Image->setObjectName(QStringLiteral("Neuronal_Network_Image"));
    Neuronal_Network_Image->OnClick = [this] { Neuronal_Network_ImageClick(); };
    Neuronal_Network_Image->OnMouseMove = [this](TShiftState, int32_t, int32_t) {
        Neuronal_Network_ImageMouseMove();
    };
    nnetwork_test_button =
        MakeButton(this, "nnetwork_test_button", QStringLiteral("test"), QRect(40, 416, 75, 25));
    NeuronalNetwork1_Button =
        MakeButton(this, "NeuronalNetwork1_Button", QStringLiteral("Neuronal Network 1"),
                   QRect(560, 488, 105, 25));
    MarkNotAvailable(nnetwork_test_button);
    ConnectClick(NeuronalNetwork2_Button, [this] { NeuronalNetwork2_ButtonClick(); });
    ConnectClick(nnetwork_test_button, [this] { nnetwork_test_buttonClick(); });
    ConnectClick(NeuronalNetwork1_Button, [this] { NeuronalNetwork1_ButtonClick(); });
}

// The brains stay with the page: they go with it, and Brain with them.
TNeuronalNetworkPage::~TNeuronalNetworkPage() {
    if (!fBrains.empty() && Brain == fBrains.back().get()) Brain = nullptr;
}

// Earlier brains stay in memory; the new one draws over them. A build that
// Escape or Stop ended leaves no brain, and Brain as it was.
void TNeuronalNetworkPage::NeuronalNetwork2_ButtonClick() {
    TLongWork work(QStringLiteral("Brain build"));
    std::unique_ptr<TBrain> brain = TBrain::Build(Neuronal_Network_Image, work);
    if (!brain) return;
    fBrains.push_back(std::move(brain));
    Brain = fBrains.back().get();
}

// The first network model is not part of this program: the button says so
// instead of showing a window that does not exist.
void TNeuronalNetworkPage::NeuronalNetwork1_ButtonClick() {
    ShowMessageBox(
        "The first neuron network model is not part of this program; use \"Neuronal Network 2\".");
}

void TNeuronalNetworkPage::nnetwork_test_buttonClick() {}

void TNeuronalNetworkPage::Neuronal_Network_ImageClick() {}

void TNeuronalNetworkPage::Neuronal_Network_ImageMouseMove() {}
