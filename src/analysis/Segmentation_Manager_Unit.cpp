#include "analysis/Segmentation_Manager_Unit.h"

#include "diagnostics/TraceUnit.h"

void TSegmentationManager::Analyse() {
    Messenger.Send("DisplayHyperCubes();");
}

void TSegmentationManager::ShowResult(TLines& memo) {
    memo.Add("ben.. euh.. pas encore impl\xE9ment\xE9 :-) ^^ ");
}
