// libFuzzer target: the picture reader, every format by its extension.
#include "Fuzz_Target.h"
#include "Picture_Inputs.h"
#include "qt/Qt_Picture_Reader.h"

KAVELIN_FUZZ_TARGET(FuzzPictureFile, InstallQtPictureReader())
