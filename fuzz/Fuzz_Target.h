// The two functions of a libFuzzer target: the set-up, which silences the
// Messenger's boxes (no trace is attached, so lines are dropped) and then runs
// `setup`, and the run of one input through `entry`.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Fuzz_Support.h"

#define KAVELIN_FUZZ_TARGET(entry, setup)                                     \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {                      \
        SilenceReports();                                                     \
        setup;                                                                \
        return 0;                                                             \
    }                                                                         \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        entry(FuzzBytes(data, size));                                         \
        return 0;                                                             \
    }
