#pragma once

#include <optional>

namespace engine::render {

// A date and time of day from a serial number of the 1900 date system.
struct DateTimeParts {
    int year = 1900;
    int month = 1;   // 1..12
    int day = 0;     // 0 only for serial 0, shown as "1/0/1900"
    int weekday = 0; // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Serial 1 is 1 January 1900. The system counts 29 February 1900, a day that never
// was, as serial 60, so serials from 61 on are one more than the days elapsed; the
// weekdays follow the same count (serial 1 is a Sunday). The time of day is rounded
// to the nearest second. Nothing for negative serials or those after 31 December 9999.
std::optional<DateTimeParts> dateFromSerial(double serial);

}  // namespace engine::render
