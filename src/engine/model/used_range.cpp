#include "engine/model/used_range.h"

#include "engine/model/sheet.h"

#include <algorithm>

namespace engine {

std::optional<CellArea> usedArea(const SheetData& sheet) {
    if (sheet.cells.empty() && sheet.merges.empty()) return std::nullopt;
    CellArea area{kMaxRows, kMaxColumns, -1, -1};
    if (!sheet.cells.empty()) {
        // Cells are stored by row, sorted by column in each: the row span is the
        // store's, the column span comes from the ends of each row.
        area.firstRow = sheet.cells.firstRow();
        area.lastRow = sheet.cells.rowEnd() - 1;
        for (int r = area.firstRow; r <= area.lastRow; ++r) {
            const auto row = sheet.cells.row(r);
            if (row.empty()) continue;
            area.firstCol = std::min(area.firstCol, row.front().first.col);
            area.lastCol = std::max(area.lastCol, row.back().first.col);
        }
    }
    for (const CellArea& m : sheet.merges) area = boundingArea(area, m);
    return area;
}

}  // namespace engine
