// libFuzzer target: the INI reader on a file's text.
#include "Common_Inputs.h"
#include "Fuzz_Target.h"

KAVELIN_FUZZ_TARGET(FuzzIniText, (void)0)
