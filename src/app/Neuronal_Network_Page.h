// "Neuronal  Network": the brain drawn in 3D perspective on its picture.
#pragma once

#include <QPushButton>
#include <memory>
#include <vector>

#include "analysis/NNetwork2_Unit.h"
#include "app/Page.h"
#include "qt/Qt_Picture.h"

class TNeuronalNetworkPage : public TPage {
    Q_OBJECT
  public:
    TNeuronalNetworkPage();
    ~TNeuronalNetworkPage() override;

    QPushButton* NeuronalNetwork2_Button;
    TPictureControl* Neuronal_Network_Image;
    QPushButton* nnetwork_test_button;
    QPushButton* NeuronalNetwork1_Button;

    void NeuronalNetwork2_ButtonClick();
    void NeuronalNetwork1_ButtonClick();
    void nnetwork_test_buttonClick();
    // Bound by the layout, but every brain takes the picture's events over when it
    // is made, so these run only until then.
    void Neuronal_Network_ImageClick();
    void Neuronal_Network_ImageMouseMove();

  private:
    // Every brain built on the picture; the last one is Brain.
    std::vector<std::unique_ptr<TBrain>> fBrains;
};

// The current brain: the last one built on the page's picture.
extern TBrain* Brain;
