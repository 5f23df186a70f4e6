// libFuzzer target: the database loader on a table file's text, and its searches.
#include "Fuzz_Target.h"
#include "Tables_Inputs.h"

KAVELIN_FUZZ_TARGET(FuzzDatabase, (void)0)
