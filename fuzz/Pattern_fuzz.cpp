// libFuzzer target: the pattern matcher; options byte, pattern, NUL, subject.
#include "Common_Inputs.h"
#include "Fuzz_Target.h"

KAVELIN_FUZZ_TARGET(FuzzPattern, (void)0)
