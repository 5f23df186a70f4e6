// Test support: a progress sink that records every report and asks for a stop at
// a chosen call, for the tests of long work stopped midway.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "base/Progress.h"

// Asks for a stop at its `stopAt`-th call (never with 0).
class TStopAtCall : public TProgress {
  public:
    explicit TStopAtCall(int64_t stopAt) : fStopAt(stopAt) {}
    bool Report(int64_t done, int64_t total) override {
        fReports.emplace_back(done, total);
        return static_cast<int64_t>(fReports.size()) == fStopAt;
    }
    int64_t fStopAt;
    std::vector<std::pair<int64_t, int64_t>> fReports;
};
