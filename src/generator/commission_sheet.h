#pragma once

namespace generator {

class RecordSource;

// Lays out the "Sales Commission Calculator" on ExcelApp's active sheet from the
// records and percentage that source gives at the moment of the call, and ends
// with page setup. The first failing operation ends it (the failure passes on).
void BuildCommissionSheet(const RecordSource& source);

}  // namespace generator
