// libFuzzer target: the data restructurator's line splitting.
#include "Analysis_Inputs.h"
#include "Fuzz_Target.h"

KAVELIN_FUZZ_TARGET(FuzzSplitLines, (void)0)
