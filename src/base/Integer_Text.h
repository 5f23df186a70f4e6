// Decimal integers read from a whole text. Every form refuses an empty text,
// anything after the digits and a value that does not fit the asked type; the
// forms differ in what they allow before the digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class TIntegerForm {
    Decimal,  // an optional '-', then digits
    Digits,   // digits only
    Pattern,  // "^0$|^-?[1-9][0-9]*$" in fewer than 19 characters (a final line end allowed)
    CLike,    // C blanks (space, \t \n \v \f \r), an optional '+' or '-', then digits
};

std::optional<int32_t> ParseInt32(std::string_view text, TIntegerForm form = TIntegerForm::Decimal);
std::optional<int64_t> ParseInt64(std::string_view text, TIntegerForm form = TIntegerForm::Decimal);
std::optional<uint64_t> ParseUInt64(std::string_view text,
                                    TIntegerForm form = TIntegerForm::Decimal);
