// Runs the wrong way: base is the bottom of the chain.
#pragma once

#include "common/High.h"
