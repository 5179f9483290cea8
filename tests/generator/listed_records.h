#pragma once

#include "generator/record_list.h"

// n records "Person i" with totals 100 * i.
inline generator::RecordList numberedRecords(int n, QString percentage = QStringLiteral("10")) {
    generator::RecordList list({}, std::move(percentage));
    for (int i = 1; i <= n; ++i) list.append({QStringLiteral("Person %1").arg(i), QString::number(100 * i)});
    return list;
}
