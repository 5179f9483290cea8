#pragma once

#include "engine/model/cell_types.h"

#include <QString>

// A1-style cell references: reading range texts into areas and writing areas and
// columns as text.
namespace engine {

// "A" for column 0 up to "IV" for column 255.
QString columnLetters(int col);

// Reads "B1", "$B$1", "B6:D9", "1:1" (whole rows) or "A:A" (whole columns), each
// corner with optional "$". Corners given the wrong way round ("$B7:$D6") are put
// in order. Throws EngineError for anything else or beyond 65536 rows x 256 columns.
CellArea parseRangeReference(const QString& text);
// Whole rows: "7:7", "1:3" or "7".
CellArea parseRowsReference(const QString& text);
// Whole columns: "A:A", "E:J" or "A".
CellArea parseColumnsReference(const QString& text);

// "A1:I9" (or "$A$1:$I$9" when absolute); one cell gives "A1"; whole rows "1:3",
// whole columns "A:C".
QString areaReference(const CellArea& area, bool absolute = false);

}  // namespace engine
