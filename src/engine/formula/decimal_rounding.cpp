#include "engine/formula/decimal_rounding.h"

#include "shell/locale_number.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace engine::formula {

namespace {

using shell::kSignificantDigits;

// The first `count` digits of `digits` as an integer (count <= 15 fits easily).
std::int64_t leadingDigits(const char* digits, int count) {
    std::int64_t n = 0;
    for (int i = 0; i < count; ++i) n = n * 10 + (digits[i] - '0');
    return n;
}

// Whether the dropped digits call for one more unit in the last kept place.
bool roundsUp(const char* digits, int kept, Rounding mode) {
    switch (mode) {
    case Rounding::HalfAwayFromZero:
        return digits[kept] >= '5';
    case Rounding::AwayFromZero:
        for (int i = kept; i < kSignificantDigits; ++i)
            if (digits[i] != '0') return true;
        return false;
    default:
        return false;
    }
}

}  // namespace

double roundDecimal(double value, double digits, Rounding mode) {
    if (value == 0 || !std::isfinite(value) || std::isnan(digits)) return value;
    const int places = static_cast<int>(std::clamp(std::trunc(digits), -400.0, 400.0));

    const shell::SignificantDigits significant = shell::significantDigitsOf(value);
    const char* mantissa = significant.digits.data();
    const int exponent = significant.exponent;

    // Digits kept: those whose place is at least 10^-places.
    const int kept = exponent + places + 1;
    if (kept >= kSignificantDigits) return value;

    double units = 0;  // the result in units of 10^-places
    if (kept < 0)
        units = mode == Rounding::AwayFromZero ? 1 : 0;
    else
        units = static_cast<double>(leadingDigits(mantissa, kept) + (roundsUp(mantissa, kept, mode) ? 1 : 0));

    // Scaling through decimal text keeps the result the nearest double to the
    // rounded decimal number.
    char scaled[64];
    std::snprintf(scaled, sizeof scaled, "%.0fe%d", units, -places);
    const double magnitude = std::strtod(scaled, nullptr);
    return value < 0 ? -magnitude : magnitude;
}

}  // namespace engine::formula
