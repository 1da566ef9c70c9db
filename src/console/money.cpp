#include "console/money.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSignificantDigits = 6;

// Adds one to the last digit of a string of decimal digits; returns true when it carried
// out of the first digit (999999 became 000000).
bool incrementDigits(std::string& digits)
{
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return false;
        }
        *digit = '0';
    }
    return true;
}

std::string exponentText(int exponent)
{
    char text[16];
    std::snprintf(text, sizeof text, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text;
}

} // namespace

std::string formatMoney(float amount)
{
    const double value = amount;
    if (value == 0)
        return "0";
    if (!std::isfinite(value))
        return value != value ? "nan" : (value < 0 ? "-inf" : "inf");

    // Forty digits after the point are exact for every amount the game can hold (whole and
    // half dollars), so the rounding below starts from the true decimal value. The C library
    // would round an exact half to even; the money format rounds it away from zero.
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.40e", std::fabs(value));
    std::string digits = std::string(1, exact[0]) + std::string(exact + 2, exact + 2 + kSignificantDigits - 1);
    int exponent = std::atoi(std::strchr(exact, 'e') + 1);
    if (exact[2 + kSignificantDigits - 1] >= '5' && incrementDigits(digits)) {
        digits.front() = '1';  // 999999 rounded up is 100000, one place higher
        ++exponent;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= kSignificantDigits) {
        text += digits.front();
        if (digits.size() > 1)
            text.append(".").append(digits, 1);
        return text + exponentText(exponent);
    }
    if (exponent < 0)
        return text + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const auto integerDigits = static_cast<size_t>(exponent + 1);
    if (digits.size() <= integerDigits)
        return text + digits + std::string(integerDigits - digits.size(), '0');
    return text + digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
}
