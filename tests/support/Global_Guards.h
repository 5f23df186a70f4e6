// Test support: process-wide settings changed for one scope. The destructor puts
// the previous value back, also when a failed assertion leaves the scope early,
// so no later test runs with a changed setting.
#pragma once

#include <cstdint>
#include <optional>

#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "platform/Picture_Reader.h"

class TSeparatorGuard {
  public:
    explicit TSeparatorGuard(char separator) : fSaved(DecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~TSeparatorGuard() { SetDecimalSeparator(fSaved); }
    TSeparatorGuard(const TSeparatorGuard&) = delete;
    TSeparatorGuard& operator=(const TSeparatorGuard&) = delete;

  private:
    char fSaved;
};

// Sets a fixed seed for Randomize while it lives.
class TSeedGuard {
  public:
    explicit TSeedGuard(std::optional<uint64_t> seed) : fSaved(FixedSeed()) { SetFixedSeed(seed); }
    ~TSeedGuard() { SetFixedSeed(fSaved); }
    TSeedGuard(const TSeedGuard&) = delete;
    TSeedGuard& operator=(const TSeedGuard&) = delete;

  private:
    std::optional<uint64_t> fSaved;
};

// Installs a picture reader while it lives; a test program starts without one
// and is left without one.
class TPictureReaderGuard {
  public:
    explicit TPictureReaderGuard(IPictureReader* reader) { SetPictureReader(reader); }
    ~TPictureReaderGuard() { SetPictureReader(nullptr); }
    TPictureReaderGuard(const TPictureReaderGuard&) = delete;
    TPictureReaderGuard& operator=(const TPictureReaderGuard&) = delete;
};
