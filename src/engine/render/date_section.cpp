#include "engine/model/date_serial.h"
#include "engine/render/section_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace engine::render {

namespace {

using Kind = FormatToken::Kind;

constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",
                                                 "May",     "June",     "July",      "August",
                                                 "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

// A date and time of day, as a date format shows them.
struct DateTimeParts {
    int year = 1900;
    int month = 1;    // 1..12
    int day = 0;      // 0 only for serial 0, shown as "1/0/1900"
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The date and time of a serial number of the 1900 date system: its whole days are
// the day number, its fraction the time of day, rounded to the nearest second.
// Serial 0 shows as 0 January 1900; the weekdays follow the system's count, which
// has a 29 February 1900 (serial 1 is a Sunday). Nothing for negative serials or
// those after 31 December 9999.
std::optional<DateTimeParts> dateTimeParts(double serial) {
    constexpr int kSecondsPerDay = 86400;
    if (!std::isfinite(serial) || serial < 0 || serial >= kLastDateSerial + 1.0) return std::nullopt;

    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        ++days;
        seconds -= kSecondsPerDay;
    }
    if (days > kLastDateSerial) return std::nullopt;

    DateTimeParts p;
    p.weekday = static_cast<int>((days + 6) % 7);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    if (days == 0) return p;  // 0 January 1900
    const std::optional<CivilDate> date = civilDate(static_cast<int>(days));
    if (!date) return std::nullopt;
    p.year = date->year;
    p.month = date->month;
    p.day = date->day;
    return p;
}

QString twoDigits(int n) { return QString::number(n).rightJustified(2, u'0'); }

QString name(const char* full, qsizetype length) {
    return QString::fromLatin1(full).left(length);
}

QString datePart(const QString& code, const DateTimeParts& p, bool twelveHour) {
    const qsizetype n = code.size();
    switch (code[0].unicode()) {
    case u'y': return n <= 2 ? twoDigits(p.year % 100) : QString::number(p.year);
    case u'm':
        if (n == 1) return QString::number(p.month);
        if (n == 2) return twoDigits(p.month);
        if (n == 3) return name(kMonths[p.month - 1], 3);
        if (n == 4) return name(kMonths[p.month - 1], -1);
        return name(kMonths[p.month - 1], 1);
    case u'd':
        if (n == 1) return QString::number(p.day);
        if (n == 2) return twoDigits(p.day);
        return name(kWeekdays[p.weekday], n == 3 ? 3 : -1);
    case u'h': {
        int hour = p.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        return n == 1 ? QString::number(hour) : twoDigits(hour);
    }
    case u'n': return n == 1 ? QString::number(p.minute) : twoDigits(p.minute);
    case u's': return n == 1 ? QString::number(p.second) : twoDigits(p.second);
    default: return {};
    }
}

// "AM/PM" shows AM or PM, "A/P" shows A or P, each in the case written.
QString amPm(const QString& code, int hour) {
    const bool pm = hour >= 12;
    if (code.size() == 3) return QString(code[pm ? 2 : 0]);
    return pm ? code.mid(3, 2) : code.left(2);
}

}  // namespace

QString formatDateSection(double serial, const FormatSection& section) {
    const std::optional<DateTimeParts> parts = dateTimeParts(serial);
    if (!parts) return unshowableDate();
    const bool twelveHour = std::any_of(section.tokens.begin(), section.tokens.end(),
                                        [](const FormatToken& t) { return t.kind == Kind::AmPm; });
    QString out;
    for (const FormatToken& t : section.tokens) {
        switch (t.kind) {
        case Kind::DatePart: out += datePart(t.text, *parts, twelveHour); break;
        case Kind::AmPm: out += amPm(t.text, parts->hour); break;
        case Kind::Literal:
        case Kind::Digit:
        case Kind::Exponent: out += t.text; break;
        case Kind::DecimalPoint: out += u'.'; break;
        case Kind::Thousands: out += u','; break;
        case Kind::Percent: out += u'%'; break;
        default: break;
        }
    }
    return out;
}

}  // namespace engine::render
