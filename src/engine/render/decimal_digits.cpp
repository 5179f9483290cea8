#include "engine/render/decimal_digits.h"

#include "shell/locale_number.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace engine::render {

namespace {

// Adds one unit in the last place of a string of digits; true when it carried out.
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

}  // namespace

int decimalExponent(double value) {
    if (value == 0 || !std::isfinite(value)) return 0;
    return shell::significantDigitsOf(value).exponent;
}

DecimalDigits roundToDecimals(double value, int decimals) {
    decimals = std::max(decimals, 0);
    if (value == 0 || !std::isfinite(value))
        return {QStringLiteral("0"), QString(decimals, u'0')};

    const shell::SignificantDigits s = shell::significantDigitsOf(value);
    // Lay the digits out so that the first `point` of them form the integer part.
    std::string digits(s.digits.begin(), s.digits.end());
    int point = s.exponent + 1;
    if (point <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    }
    if (static_cast<int>(digits.size()) < point) digits.append(point - digits.size(), '0');

    const std::size_t keep = static_cast<std::size_t>(point + decimals);
    if (digits.size() > keep) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp && incrementDigits(digits)) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    } else {
        digits.append(keep - digits.size(), '0');
    }

    std::string integer = digits.substr(0, point);
    const std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? "0" : integer.substr(firstNonZero);
    return {QString::fromLatin1(integer), QString::fromLatin1(digits.substr(point))};
}

}  // namespace engine::render
