#pragma once

namespace engine::formula {

enum class Rounding { HalfAwayFromZero, AwayFromZero, TowardZero };

// `value` rounded to `digits` decimal places (negative: to tens, hundreds, ...).
// Works on the number's 15 significant decimal digits, as spreadsheets do, so that
// 2.675 rounds to 2.68 although its binary value lies a hair below. A fractional
// `digits` counts without its fraction. The result may be infinite for extreme
// arguments; the caller turns that into an error.
double roundDecimal(double value, double digits, Rounding mode);

}  // namespace engine::formula
