#pragma once

#include "engine/model/cell_types.h"

namespace engine {
class Application;
}

namespace generator {

class RecordSource;

// The longest name or total, in characters, that a cell of the sheet holds.
inline constexpr int kMaxRecordTextLength = engine::kMaxTextLength;

// Sheet rows, 1-based: the first record's, and the two rows whose cells head the
// cells under them (the summary's labels and the records' column headings).
inline constexpr int kFirstRecordRow = 7;
inline constexpr int kSummaryLabelRow = 3;
inline constexpr int kColumnHeadingRow = kFirstRecordRow - 1;

// Lays out the "Sales Commission Calculator" on the active sheet of app from the
// records and percentage that source gives at the moment of the call, and ends
// with page setup. The first failing operation ends it (the failure passes on).
void writeCommissionSheet(engine::Application& app, const RecordSource& source);

}  // namespace generator
