// Decimal texts of doubles, rounded from the exact binary value with exact ties away from
// zero, so that Format and FloatToStr give the same digits on every unit and compiler.
#pragma once

#include <string>

// `decimals` digits after the separator; no minus sign when every printed digit is zero.
std::string FixedText(double value, int decimals, char separator);
// At most `precision` significant digits, trailing zeros dropped; scientific ("1.5E20",
// "1E-5") when the integer part would need more digits than that or the value is below 1E-4.
std::string GeneralText(double value, int precision, char separator);
