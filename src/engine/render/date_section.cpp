#include "engine/render/date_serial.h"
#include "engine/render/section_format.h"

#include <algorithm>
#include <array>

namespace engine::render {

namespace {

using Kind = FormatToken::Kind;

constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",
                                                 "May",     "June",     "July",      "August",
                                                 "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

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
    const std::optional<DateTimeParts> parts = dateFromSerial(serial);
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
