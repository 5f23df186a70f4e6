// libFuzzer target: the cell type checks on a cell text.
#include "Fuzz_Target.h"
#include "Tables_Inputs.h"

KAVELIN_FUZZ_TARGET(FuzzCellType, (void)0)
