// "Algo Genetique": the genetic search for the maximum of a scoring function.
#pragma once

#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_Memo.h"

class TGeneticPage : public TPage {
    Q_OBJECT
  public:
    TGeneticPage();

    QPushButton* GeneticAlgorithm_Button;
    TMemo* GeneticSolver_Memo;

    void GeneticAlgorithm_ButtonClick();
};
