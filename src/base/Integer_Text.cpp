#include "base/Integer_Text.h"

#include <charconv>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The part of the text that from_chars must read whole, or nothing when the
// form refuses the text before any digit is read.
std::optional<std::string_view> Number(std::string_view text, TIntegerForm form) {
    switch (form) {
        case TIntegerForm::Decimal:
            return text;
        case TIntegerForm::Digits:
            if (text.empty() || !IsDigit(text[0])) return std::nullopt;
            return text;
        case TIntegerForm::Pattern: {
            if (text.size() >= 19) return std::nullopt;
            // The pattern's "$" also matches before a final line end.
            if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
            const std::string_view digits = text.substr(!text.empty() && text[0] == '-');
            if (digits.empty() || (digits[0] == '0' && text.size() > 1)) return std::nullopt;
            return text;
        }
        case TIntegerForm::CLike: {
            size_t i = 0;
            while (i < text.size() && IsCBlank(text[i])) ++i;
            // A '+' is dropped; a '-' is left for from_chars to read.
            const size_t sign = i < text.size() && (text[i] == '+' || text[i] == '-') ? 1 : 0;
            if (i + sign >= text.size() || !IsDigit(text[i + sign])) return std::nullopt;
            return text.substr(text[i] == '+' ? i + 1 : i);
        }
    }
    return std::nullopt;
}

template <typename T>
std::optional<T> Parse(std::string_view text, TIntegerForm form) {
    const std::optional<std::string_view> number = Number(text, form);
    if (!number || number->empty()) return std::nullopt;
    T value = 0;
    const char* last = number->data() + number->size();
    const auto [end, error] = std::from_chars(number->data(), last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text, TIntegerForm form) {
    return Parse<int32_t>(text, form);
}
std::optional<int64_t> ParseInt64(std::string_view text, TIntegerForm form) {
    return Parse<int64_t>(text, form);
}
std::optional<uint64_t> ParseUInt64(std::string_view text, TIntegerForm form) {
    return Parse<uint64_t>(text, form);
}
