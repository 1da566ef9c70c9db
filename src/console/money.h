// The money format: six significant digits in general notation, as a C++ stream writes a
// float by default on the platform the game was born on: 1000, 1002.5, 0.5, 123457, 1e+006,
// 1.23457e+006. Halves round away from zero; the exponent has at least three digits.
#pragma once

#include <string>

std::string formatMoney(float amount);
