// Test support: process-wide settings changed for one scope. The destructor puts
// the previous value back, also when a failed assertion leaves the scope early,
// so no later test runs with a changed setting.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "platform/Message_Box.h"
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

// Installs a message box while it lives: a box that is a local of the test is
// never left installed once the test has ended.
class TMessageBoxGuard {
  public:
    explicit TMessageBoxGuard(IMessageBox* box) : fSaved(CurrentMessageBox()) {
        SetMessageBox(box);
    }
    ~TMessageBoxGuard() { SetMessageBox(fSaved); }
    TMessageBoxGuard(const TMessageBoxGuard&) = delete;
    TMessageBoxGuard& operator=(const TMessageBoxGuard&) = delete;

  private:
    IMessageBox* fSaved;
};

// Gives an environment variable a value (nothing: removes it) while it lives.
class TEnvironmentGuard {
  public:
    TEnvironmentGuard(const char* name, const std::optional<std::string>& value) : fName(name) {
        if (const char* saved = std::getenv(name)) fSaved = saved;
        Set(value);
    }
    ~TEnvironmentGuard() { Set(fSaved); }
    TEnvironmentGuard(const TEnvironmentGuard&) = delete;
    TEnvironmentGuard& operator=(const TEnvironmentGuard&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(fName.c_str(), value->c_str(), 1);
        else
            ::unsetenv(fName.c_str());
    }
    std::string fName;
    std::optional<std::string> fSaved;
};
