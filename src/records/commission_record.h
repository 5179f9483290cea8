#pragma once

#include <QString>

namespace records {

// Positions and counts of the list are 16-bit signed: it holds at most this many records.
inline constexpr int kMaxRecords = 32767;

// The titles of the list's columns: name, total, commission.
inline constexpr const char* kColumnTitles[] = {"Saleperson", "Total Sales Amount ($)", "Commission Amount ($)"};

// One row of the record list: three texts kept exactly as typed or calculated.
struct CommissionRecord {
    QString saleperson;
    QString totalSalesAmount;
    QString commissionAmount;

    friend bool operator==(const CommissionRecord&, const CommissionRecord&) = default;
};

}  // namespace records
