// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The value of a text: blanks, tabs and line feeds anywhere are skipped, then the longest
// leading decimal number counts (sign, digits, a fraction, an exponent); a text that does
// not begin with a number is worth 0. So " 2", "2x", "02" and "2.0" are 2, and "1 2" is 12.
double Val(std::u16string_view text);
