// libFuzzer target: the SAT constraint-file reader, then a few search steps.
#include "Fuzz_Target.h"
#include "Solvers_Inputs.h"

KAVELIN_FUZZ_TARGET(FuzzConstraintText, (void)0)
