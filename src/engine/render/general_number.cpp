#include "engine/render/general_number.h"

#include "engine/render/decimal_digits.h"

#include <cmath>

namespace engine::render {

namespace {

QString trimFraction(const DecimalDigits& d, const QString& decimal) {
    QString fraction = d.fraction;
    while (fraction.endsWith(u'0')) fraction.chop(1);
    return fraction.isEmpty() ? d.integer : d.integer + decimal + fraction;
}

}  // namespace

QString formatScientific(double value, int decimals, bool trimZeros, int minExponentDigits, const QString& decimal,
                         bool plusSign) {
    const double magnitude = std::fabs(value);
    int exponent = decimalExponent(magnitude);
    DecimalDigits mantissa = roundToDecimals(magnitude / std::pow(10.0, exponent), decimals);
    if (mantissa.integer.size() > 1) {  // 9.999996 rounded up to 10.00000
        ++exponent;
        mantissa = roundToDecimals(magnitude / std::pow(10.0, exponent), decimals);
    }
    if (magnitude == 0) exponent = 0;
    QString text = trimZeros ? trimFraction(mantissa, decimal)
                             : (decimals > 0 ? mantissa.integer + decimal + mantissa.fraction : mantissa.integer);
    const QString sign = exponent < 0 ? QStringLiteral("-") : (plusSign ? QStringLiteral("+") : QString());
    text += u'E' + sign + QString::number(std::abs(exponent)).rightJustified(minExponentDigits, u'0');
    return value < 0 ? u'-' + text : text;
}

QString formatGeneral(double value, const QString& decimal) {
    if (value == 0) return QStringLiteral("0");
    const double magnitude = std::fabs(value);
    const int exponent = decimalExponent(magnitude);
    if (exponent < -4 || exponent > 10) return formatScientific(value, 5, true, 2, decimal);

    // Ten significant digits at most, and never more than eleven characters.
    const int decimals = exponent < 0 ? 9 : std::max(0, 9 - exponent);
    const DecimalDigits d = roundToDecimals(magnitude, decimals);
    if (d.integer.size() > 11) return formatScientific(value, 5, true, 2, decimal);
    const QString text = trimFraction(d, decimal);
    return value < 0 ? u'-' + text : text;
}

}  // namespace engine::render
