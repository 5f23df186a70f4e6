#include "base/Real_Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

char gDecimalSeparator = '.';

}  // namespace

char DecimalSeparator() {
    return gDecimalSeparator;
}

void SetDecimalSeparator(char separator) {
    gDecimalSeparator = separator;
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";

    // 15 significant digits, correctly rounded, with their decimal exponent.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent >= 0) {
            const size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits + std::string(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits);
                text += gDecimalSeparator;
                text += digits.substr(integerDigits);
            }
        } else {
            text += '0';
            text += gDecimalSeparator;
            text += std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
        }
    } else {
        text += digits[0];
        if (digits.size() > 1) {
            text += gDecimalSeparator;
            text += digits.substr(1);
        }
        text += 'E';
        text += std::to_string(exponent);
    }
    return text;
}
