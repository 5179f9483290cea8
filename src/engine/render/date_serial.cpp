#include "engine/render/date_serial.h"

#include <QDate>
#include <cmath>

namespace engine::render {

namespace {
constexpr double kLastSerial = 2958466.0;  // 1 January 10000
constexpr int kSecondsPerDay = 86400;
constexpr int kFictionalLeapDay = 60;      // 29 February 1900
}  // namespace

std::optional<DateTimeParts> dateFromSerial(double serial) {
    if (!std::isfinite(serial) || serial < 0 || serial >= kLastSerial) return std::nullopt;

    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        ++days;
        seconds -= kSecondsPerDay;
    }
    if (days >= static_cast<long long>(kLastSerial)) return std::nullopt;

    DateTimeParts p;
    p.weekday = static_cast<int>((days + 6) % 7);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    if (days == 0) return p;  // 0 January 1900
    if (days == kFictionalLeapDay) {
        p.month = 2;
        p.day = 29;
        return p;
    }
    const QDate date = days < kFictionalLeapDay ? QDate(1899, 12, 31).addDays(days)
                                                : QDate(1899, 12, 30).addDays(days);
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    return p;
}

}  // namespace engine::render
