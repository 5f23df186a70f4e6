// Runs the right way, and includes its own folder.
#pragma once

#include "base/Low.h"
#include "common/Other.h"
