// libFuzzer target: the string routines' type checks and CompareTyped on two texts split at a NUL
// byte.
#include "Common_Inputs.h"
#include "Fuzz_Target.h"

KAVELIN_FUZZ_TARGET(FuzzCompareTyped, (void)0)
