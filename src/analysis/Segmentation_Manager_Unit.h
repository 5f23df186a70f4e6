// Segmentation_Manager_Unit: the place of a segmentation of data into hypercubes,
// which the program does not perform yet: the analysis announces its display
// step in the trace and shows a notice.
#pragma once

#include "base/Line_List.h"

class TSegmentationManager {
  public:
    // Sends "DisplayHyperCubes();" to the trace.
    void Analyse();
    // Appends the not-implemented notice (with its final blank) to `memo`.
    void ShowResult(TLines& memo);
};
