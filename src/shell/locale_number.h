#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// The one number test and conversion of the program: the entry fields and the
// spreadsheet engine's typed input both use it, so they agree on every text.
//
// A text is a number when it reads, after optional blanks around it:
//   sign      optional "+" or "-" (or the locale's own plus or minus sign);
//   digits    ASCII digits, optionally grouped with the locale's group separator:
//             the first group has 1 to 3 digits, every later group exactly 3
//             ("1,234,567" under en_US; "1,2,3" and "12,34" are not numbers, so a
//             "1234.56" typed under de_DE is refused rather than read as 123456);
//             where the separator is a space of some kind, any of the usual
//             spaces is taken for it;
//   fraction  optional: the locale's decimal separator and digits; ".5" and "5."
//             are numbers (under en_US), "." alone is not;
//   exponent  optional: "e" or "E", an optional sign and at least one digit.
// Nothing else: no currency signs, percent signs, brackets, hexadecimal,
// infinity or NaN. The value must be finite ("1e999" is refused); a value too
// small for a double reads as zero.
namespace shell {

std::optional<double> parseLocaleNumber(const QString& text, const QLocale& locale = QLocale());

bool isNumeric(const QString& text, const QLocale& locale = QLocale());

// The value of a numeric text; throws Failure for any other.
double toDouble(const QString& text, const QLocale& locale = QLocale());

// The precision numbers are written with, and taken to before they are rounded to
// decimals, as spreadsheets show them.
inline constexpr int kSignificantDigits = 15;

// |value| rounded to 15 significant digits: the digits ('0' to '9', the first not
// '0' unless value is zero) and the power of ten of the first (123.45 gives
// "123450000000000" and 2). The exact binary value is rounded, a tie going away
// from zero (100000000000000.5 gives "100000000000001"). For finite values.
struct SignificantDigits {
    std::array<char, kSignificantDigits> digits{};
    int exponent = 0;
};
SignificantDigits significantDigitsOf(double value);

// A finite number as the program writes it, in C notation: rounded to 15
// significant digits, no trailing zeros, "." only when decimals remain, no group
// separators, "-" for negatives, "0" for either zero. Magnitudes from 1E+15 up and
// below 0.0001 are written with an exponent of a sign and at least two digits
// ("1.5E+20", "1E-05"). The few doubles whose 15 digits round past the largest
// one have a text too ("1.79769313486232E+308"), though no double reads back from it.
QString generalNumberText(double value);

// generalNumberText with the locale's decimal separator. Infinity, NaN and the few
// doubles that round past the largest one have no text. Every text written reads
// back through parseLocaleNumber under the same locale.
std::optional<QString> localeNumberText(double value, const QLocale& locale = QLocale());

// The commission text of a total at a percentage: total * (rate / 100), the
// division first, written by localeNumberText.
std::optional<QString> commissionText(double total, double rate, const QLocale& locale = QLocale());

}  // namespace shell
