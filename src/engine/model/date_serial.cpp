#include "engine/model/date_serial.h"

#include <QDate>

namespace engine {

namespace {

const QDate kDayZero(1899, 12, 31);
constexpr int kFictitiousLeapDay = 60;

}  // namespace

std::optional<int> dateSerial(const CivilDate& date) {
    if (date.year < 1900 || date.year > 9999) return std::nullopt;
    if (date.year == 1900 && date.month == 2 && date.day == 29) return kFictitiousLeapDay;
    const QDate d(date.year, date.month, date.day);
    if (!d.isValid()) return std::nullopt;
    const int days = static_cast<int>(kDayZero.daysTo(d));
    return days < kFictitiousLeapDay ? days : days + 1;
}

std::optional<CivilDate> civilDate(int serial) {
    if (serial == kFictitiousLeapDay) return CivilDate{1900, 2, 29};
    if (serial < 1 || serial > kLastDateSerial) return std::nullopt;
    const QDate d = kDayZero.addDays(serial < kFictitiousLeapDay ? serial : serial - 1);
    return CivilDate{d.year(), d.month(), d.day()};
}

}  // namespace engine
