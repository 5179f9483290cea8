#pragma once

#include <QString>

namespace generator {

// What the layout reads of the records, at the moment it runs: the main window
// implements it over its list and percentage field. Positions are 1-based.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual int recordCount() const = 0;
    virtual QString recordName(int i) const = 0;
    virtual QString recordTotal(int i) const = 0;
    virtual QString percentageText() const = 0;
};

}  // namespace generator
