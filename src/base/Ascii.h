// Letter case of ASCII text, the same in every locale: only A to Z change, every
// other byte (Windows-1252 letters included) stays as it is.
#pragma once

#include <string>
#include <string_view>

inline std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}
