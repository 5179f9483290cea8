#pragma once

#include <QString>

namespace engine::formula {

// A number as the "General" format writes it into text (the & operator, text
// functions, messages): rounded to 15 significant digits, no trailing zeros,
// "." as the decimal separator, no group separators. Magnitudes from 1E+15 up
// and below 0.0001 take an exponent ("1.5E+20", "1E-05").
QString formatGeneral(double value);

}  // namespace engine::formula
