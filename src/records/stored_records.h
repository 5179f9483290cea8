#pragma once

#include "generator/record_list.h"

#include <QString>

// The record list and percentage kept in the settings store, as the main window
// restores them at its load. Where the window would report a failure (a store
// that cannot be read, a record lacking one of its fields, more than 32,767
// records), these throw shell::Failure with a description instead.
namespace records {

// "Commission Rate" as stored ("10" when absent), under the number rules in force;
// throws when it is no number.
QString storedPercentage();

// The rows decoded from "Commission List", their totals under the number rules in
// force, with the stored percentage; throws for a total that is no number.
generator::RecordList storedRecords();

}  // namespace records
