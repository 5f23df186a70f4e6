// Turning numbers into text, in the one format every page and the trace use.
#pragma once

#include <cstdint>
#include <string>

// The shortest form with at most 15 significant digits: no trailing zeros, no
// decimal separator for whole values; fixed notation when 0.00001 <= |x| and the
// integer part has at most 15 digits, scientific ("1,5E20", "1E-6") otherwise.
std::string FloatToStr(double value);

// Plain decimal with a leading minus sign for negatives.
std::string IntToStr(int64_t value);

// The decimal separator of the real format: the user's locale's at start-up
// (the windows and the command-line tool set it), settable for tests.
char DecimalSeparator();
void SetDecimalSeparator(char separator);
