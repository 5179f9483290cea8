#include "engine/model/used_range.h"

#include "engine/model/sheet.h"

#include <algorithm>

namespace engine {

std::optional<CellArea> usedArea(const SheetData& sheet) {
    if (sheet.cells.empty() && sheet.merges.empty()) return std::nullopt;
    CellArea area{kMaxRows, kMaxColumns, -1, -1};
    if (!sheet.cells.empty()) {
        // Cells are ordered by row, so the row span comes from the ends of the map.
        area.firstRow = sheet.cells.begin()->first.row;
        area.lastRow = sheet.cells.rbegin()->first.row;
        for (const auto& [at, cell] : sheet.cells) {
            area.firstCol = std::min(area.firstCol, at.col);
            area.lastCol = std::max(area.lastCol, at.col);
        }
    }
    for (const CellArea& m : sheet.merges) {
        area.firstRow = std::min(area.firstRow, m.firstRow);
        area.firstCol = std::min(area.firstCol, m.firstCol);
        area.lastRow = std::max(area.lastRow, m.lastRow);
        area.lastCol = std::max(area.lastCol, m.lastCol);
    }
    return area;
}

}  // namespace engine
