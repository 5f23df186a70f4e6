#include "app/Genetic_Page.h"

#include <optional>

#include "base/Real_Format.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "solvers/CourbeMaxFinder.h"

TGeneticPage::TGeneticPage() : TPage("TabSheet4", QStringLiteral("Algo Genetique")) {
    MakeLabel(this, "Label3", QStringLiteral("Appel de base du Genetic Solver"), {24, 48});
    MakeLabel(this, "Label4", QStringLiteral("Scoring selon la proxmité avec racine(2)"), {16, 64});
    MakeLabel(this, "Label9", QStringLiteral("CourbeMaxFinder / Function Score"), {56, 136});
    MakeLabel(this, "Label8",
              QStringLiteral("Result := -((TMyReal(A).Val-sqrt(2))*(TMyReal(A).Val-sqrt(2))-2);"),
              {16, 176});
    GeneticAlgorithm_Button =
        MakeButton(this, "GeneticAlgorithm_Button", QStringLiteral("&Genetic Algorithm"),
                   QRect(248, 372, 97, 25));
    GeneticSolver_Memo =
        MakeMemo(this, "GeneticSolver_Memo", QRect(400, 176, 233, 281), TScrollBars::None);
    ConnectClick(GeneticAlgorithm_Button, [this] { GeneticAlgorithm_ButtonClick(); });
}

void TGeneticPage::GeneticAlgorithm_ButtonClick() {
    TMaxFinder finder;
    TLongWork work(QStringLiteral("Genetic search"));
    if (const std::optional<double> optimum = finder.FindMax(work))
        GeneticSolver_Memo->Add("Optimum : " + FloatToStr(*optimum));
}
