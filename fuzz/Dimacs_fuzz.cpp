// libFuzzer target: the DIMACS reader, then a few search steps.
#include "Fuzz_Target.h"
#include "Solvers_Inputs.h"

KAVELIN_FUZZ_TARGET(FuzzDimacsText, (void)0)
