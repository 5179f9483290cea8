#pragma once

#include "engine/model/cell_types.h"

namespace engine {
class Application;
}

namespace generator {

class RecordSource;

// The longest name or total, in characters, that a cell of the sheet holds.
inline constexpr int kMaxRecordTextLength = engine::kMaxTextLength;

// Where the sheet keeps what a reader of it looks for (rows and columns 1-based,
// as the sheet shows them): the title in B1, the percentage in B4, the column
// titles in row 6 (names in B, totals in C, commissions in D), the records from
// row 7 on, then "Totals" in B.
namespace commission_layout {
inline constexpr char kTitle[] = "Sales Commission Calculator";
inline constexpr int kTitleRow = 1;
inline constexpr int kPercentageRow = 4;
inline constexpr int kSummaryLabelRow = 3;  // the summary's labels, heading the values under them
inline constexpr int kHeaderRow = 6;
inline constexpr int kFirstRecordRow = 7;
inline constexpr int kNameColumn = 2;
inline constexpr int kTotalColumn = 3;
inline constexpr int kCommissionColumn = 4;
inline constexpr char kNameTitle[] = "SalePerson";
inline constexpr char kTotalTitle[] = "Total Sales Amount";
inline constexpr char kCommissionTitle[] = "Commission";
inline constexpr char kTotalsLabel[] = "Totals";
}  // namespace commission_layout

// Lays out the "Sales Commission Calculator" on the active sheet of app from the
// records and percentage that source gives at the moment of the call, and ends
// with page setup. The first failing operation ends it (the failure passes on).
void writeCommissionSheet(engine::Application& app, const RecordSource& source);

}  // namespace generator
