#pragma once

#include <QString>

namespace records {

// One row of the record list: three texts kept exactly as typed or calculated.
struct CommissionRecord {
    QString saleperson;
    QString totalSalesAmount;
    QString commissionAmount;

    friend bool operator==(const CommissionRecord&, const CommissionRecord&) = default;
};

}  // namespace records
