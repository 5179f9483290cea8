#pragma once

#include <optional>

namespace engine {

// Day numbers of the 1900 date system that spreadsheets store dates as: day 1 is
// 1900-01-01, and day 60 is the 29 February 1900 that never was (kept, as every
// spreadsheet keeps it, so 1900-03-01 is day 61). Years 1900 to 9999.
struct CivilDate {
    int year = 1900;
    int month = 1;
    int day = 1;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The day number of 31 December 9999, the last date there is.
inline constexpr int kLastDateSerial = 2958465;

// The day number of a calendar date, or nothing for an invalid date or one
// outside the years 1900 to 9999 (1900-02-29 is accepted as day 60).
std::optional<int> dateSerial(const CivilDate& date);

// The calendar date of a day number from 1 up to kLastDateSerial.
std::optional<CivilDate> civilDate(int serial);

}  // namespace engine
