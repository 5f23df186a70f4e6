// The integer reader against the conversions it replaced, on many texts: each
// form accepts exactly what its callers accepted before, with the same value.
#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/Integer_Text.h"
#include "common/String_Manager_Unit.h"

namespace {

std::vector<std::string> Texts() {
    std::vector<std::string> texts = {"",
                                      "0",
                                      "-0",
                                      "+0",
                                      "00",
                                      "-",
                                      "+",
                                      "+-1",
                                      "-+1",
                                      " 1",
                                      "1 ",
                                      "\t\n\v\f\r7",
                                      "12\n",
                                      "12\n\n",
                                      "2147483647",
                                      "2147483648",
                                      "-2147483648",
                                      "-2147483649",
                                      "999999999999999999",
                                      "-99999999999999999",
                                      "9223372036854775807",
                                      "9223372036854775808",
                                      "-9223372036854775808",
                                      "18446744073709551615",
                                      "18446744073709551616",
                                      "100000",
                                      "100001"};
    std::mt19937 random(16);
    const std::string alphabet = "0123456789012345678901234567890123456789+- \t\nx";
    for (int n = 0; n < 20000; ++n) {
        std::string text(random() % 22, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    return texts;
}

template <typename T>
std::optional<T> FromCharsWhole(const std::string& text) {
    T value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// strtol of the whole text, then a range check, as the command-line options did.
std::optional<int64_t> StrtolInRange(const std::string& text, int64_t lowest, int64_t highest) {
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < lowest || parsed > highest) return std::nullopt;
    return parsed;
}

}  // namespace

TEST(IntegerText, EachFormAcceptsWhatTheConversionItReplacesAccepted) {
    for (const std::string& text : Texts()) {
        // DIMACS tokens: from_chars over the whole token.
        EXPECT_EQ(ParseInt32(text), FromCharsWhole<int32_t>(text)) << text;
        // Byte arguments: unsigned from_chars over the whole text.
        EXPECT_EQ(ParseUInt64(text, TIntegerForm::Digits), FromCharsWhole<uint64_t>(text)) << text;
        // Cell and INI integers: the integer pattern, then the 32- or 64-bit value.
        std::optional<int64_t> patterned;
        if (TStringManager::IsInteger(text)) {
            int64_t value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            patterned = value;
        }
        EXPECT_EQ(ParseInt64(text, TIntegerForm::Pattern), patterned) << text;
        std::optional<int32_t> narrow;
        if (patterned && *patterned >= std::numeric_limits<int32_t>::min() &&
            *patterned <= std::numeric_limits<int32_t>::max())
            narrow = static_cast<int32_t>(*patterned);
        EXPECT_EQ(ParseInt32(text, TIntegerForm::Pattern), narrow) << text;
        // Option values read with strtol and bounded.
        for (const auto& [lowest, highest] :
             std::vector<std::pair<int64_t, int64_t>>{{2, 10000}, {0, 100000}, {1, 1000000}}) {
            std::optional<int64_t> value = ParseInt64(text, TIntegerForm::CLike);
            if (value && (*value < lowest || *value > highest)) value.reset();
            EXPECT_EQ(value, StrtolInRange(text, lowest, highest)) << text;
        }
        // Seeds read with strtoull: the same, except that a negative value is
        // refused rather than wrapped, and a value past 64 bits rather than clipped.
        if (text.find('-') == std::string::npos) {
            char* end = nullptr;
            errno = 0;
            const unsigned long long seed = std::strtoull(text.c_str(), &end, 10);
            const bool accepted = !text.empty() && *end == '\0' && errno != ERANGE;
            EXPECT_EQ(ParseUInt64(text, TIntegerForm::CLike),
                      accepted ? std::optional<uint64_t>(seed) : std::nullopt)
                << text;
        }
    }
    EXPECT_EQ(ParseUInt64(" -5", TIntegerForm::CLike), std::nullopt);
    EXPECT_EQ(ParseUInt64("18446744073709551616", TIntegerForm::CLike), std::nullopt);
}
