#pragma once

#include <QString>

namespace engine::render {

// A non-negative number written out in decimal digits.
struct DecimalDigits {
    QString integer;   // at least "0", no leading zeros otherwise
    QString fraction;  // exactly the number of decimals asked for
};

// |value| rounded half away from zero to the given number of decimals. The number is
// first taken to 15 significant digits, the precision spreadsheets display, so that
// 1.005 rounds to 1.01 as a user expects and not to 1.00 as its binary value would.
DecimalDigits roundToDecimals(double value, int decimals);

// The power of ten of |value|'s leading digit at 15 significant digits
// (123.4 gives 2, 0.05 gives -2); 0 for zero.
int decimalExponent(double value);

}  // namespace engine::render
