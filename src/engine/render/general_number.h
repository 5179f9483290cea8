#pragma once

#include <QString>

namespace engine::render {

// A number as the General format shows it in a standard column: at most eleven
// characters besides the sign. Integers plainly up to eleven digits; decimals with
// up to ten significant digits (fewer for small magnitudes) and no trailing zeros;
// anything larger than eleven digits or smaller than 0.0001 in scientific form with
// six significant digits ("1.23457E+15", "1E-05"). The decimal point is written as
// `decimal`.
QString formatGeneral(double value, const QString& decimal);

// value in scientific form with the given decimals of mantissa, trailing zeros of
// the mantissa dropped when trimZeros; the exponent has at least minExponentDigits
// digits and always a sign ("1.5E+03").
QString formatScientific(double value, int decimals, bool trimZeros, int minExponentDigits, const QString& decimal,
                         bool plusSign = true);

}  // namespace engine::render
