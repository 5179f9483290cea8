#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace engine::formula {

// A date as a user types it: ISO ("2024-03-01") or the locale's short date with
// numbers ("3/1/2024" or "3/1/24" under en_US, "1.3.2024" under de_DE). Two-digit
// years 00-29 are 2000-2029, 30-99 are 1930-1999. Gives the day number and the
// date format the cell takes when it has none.
struct DateInput {
    double serial = 0;
    QString numberFormat;
};
std::optional<DateInput> parseDateInput(const QString& text, const QLocale& locale);

}  // namespace engine::formula
