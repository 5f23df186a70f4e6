// What every fuzz entry shares: turning libFuzzer's bytes into the texts the
// readers take, silencing the Messenger's boxes, and the invariant check that
// turns a wrong result into a failure (an escaped exception under libFuzzer, a
// failed EXPECT_NO_THROW in the regression tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/Line_List.h"
#include "platform/Message_Box.h"

class EFuzzInvariant : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

inline void FuzzRequire(bool condition, const char* what) {
    if (!condition) throw EFuzzInvariant(what);
}

inline std::string FuzzBytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The bytes as a file's lines, as TLines::LoadFromFile reads them.
inline TLineList FuzzLines(const std::string& bytes) {
    return TLineList(SplitLines(bytes));
}

// The text before the first NUL byte and the text after it (empty when there is
// no NUL): two inputs from one.
inline std::pair<std::string, std::string> SplitAtNul(const std::string& bytes) {
    const size_t nul = bytes.find('\0');
    if (nul == std::string::npos) return {bytes, std::string()};
    return {bytes.substr(0, nul), bytes.substr(nul + 1)};
}

// Reports still run whole (the Messenger formats every line), but no trace is
// attached and every box is answered at once.
class TSilentMessageBox : public IMessageBox {
  public:
    void Show(const std::string&) override {}
};

inline void SilenceReports() {
    static TSilentMessageBox box;
    SetMessageBox(&box);
}
