#pragma once

// Readable failure output for the GoogleTest files of this folder: texts and
// records as text rather than as bytes.
#include "records/commission_record.h"

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace records {
inline void PrintTo(const CommissionRecord& r, std::ostream* out) {
    *out << '{' << r.saleperson.toStdString() << '|' << r.totalSalesAmount.toStdString() << '|'
         << r.commissionAmount.toStdString() << '}';
}
}  // namespace records
