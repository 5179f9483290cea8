#pragma once

#include "engine/model/sheet.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace engine::xls {

class SharedStringTableBuilder;

// What the writer learns of a sheet before writing it.
struct SheetSurvey {
    std::vector<std::uint32_t> textIndexes;  // the shared-table index of each text cell, in cell order
    int firstCol = kMaxColumns;              // the columns the cells span
    int lastCol = -1;
};

// What the writer learns of a workbook in one pass over each sheet's cells, which
// spares it further walks of large cell maps.
struct WorkbookSurvey {
    // Each style in use once, in order of first use: per sheet its own format, its
    // columns', its rows', its cells'. This order numbers the file's cell formats.
    std::vector<StyleId> usedStyles;
    std::vector<SheetSurvey> sheets;
    // The description of the first text longer than a cell holds, if any.
    std::optional<QString> textTooLong;
};

// Surveys the workbook, adding its text constants to the shared string table. A
// cell format that does not exist fails at once (EngineError); a text too long for
// a cell is only noted, for the caller to refuse once the formats are known good.
WorkbookSurvey surveyWorkbook(const WorkbookData& wb, SharedStringTableBuilder& strings);

// The description of a cell text longer than a cell holds, or nothing.
std::optional<QString> textTooLongFor(const QString& text, const CellAddress& at);

}  // namespace engine::xls
