// How a long operation tells how far it has come and learns that a stop was
// asked, without knowing who listens: the window's status bar, the command-line
// tool's progress line, or nobody.
//
// An engine calls Report every few milliseconds of its work (once per row, per
// generation, per block of characters: whatever unit its work counts in), with
// what is done out of how much. When Report answers true a stop was asked: the
// engine ends at that call, leaves its inputs and the program's state as they
// were before it started, and writes one trace line "<Work> interrupted".
#pragma once

#include <cstdint>

class TProgress {
  public:
    virtual ~TProgress() = default;
    // `done` of `total`, in the work's own unit (total 0 when it is not known).
    // True when the work must stop now.
    virtual bool Report(std::int64_t done, std::int64_t total) = 0;
};

// Shows nothing and never asks to stop: for callers that wait for the result.
TProgress& NoProgress();
