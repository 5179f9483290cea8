#pragma once

#include <QLocale>
#include <QString>

namespace shell {

// The texts a locale writes numbers with. QLocale builds each of them afresh on
// every call; the number test runs for every typed value, so they are kept for the
// locale last asked about (per thread).
struct LocaleSymbols {
    QString group;     // digit group separator
    QString decimal;   // decimal separator
    QString plus;      // positive sign
    QString minus;     // negative sign
    QString currency;  // currency symbol
    QString shortDate; // short date format ("M/d/yy")
};

const LocaleSymbols& symbolsOf(const QLocale& locale);

}  // namespace shell
