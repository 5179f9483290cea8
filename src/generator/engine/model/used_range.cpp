#include "generator/engine/model/used_range.h"

#include "generator/engine/model/sheet.h"

#include <algorithm>

namespace engine {

std::optional<CellArea> usedArea(const SheetData& sheet) {
    if (sheet.cells.empty()) return std::nullopt;
    // Cells are ordered by row, so the row span comes from the ends of the map.
    CellArea area{sheet.cells.begin()->first.row, kMaxColumns, sheet.cells.rbegin()->first.row, -1};
    for (const auto& [at, cell] : sheet.cells) {
        area.firstCol = std::min(area.firstCol, at.col);
        area.lastCol = std::max(area.lastCol, at.col);
    }
    return area;
}

}  // namespace engine
