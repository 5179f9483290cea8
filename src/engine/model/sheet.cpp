#include "engine/model/sheet.h"

namespace engine {

double SheetData::columnWidth(int col) const {
    auto it = columnWidths.find(col);
    return it != columnWidths.end() ? it->second : standardColumnWidth;
}

double SheetData::rowHeight(int row) const {
    auto it = rowHeights.find(row);
    return it != rowHeights.end() ? it->second : standardRowHeight;
}

StyleId SheetData::effectiveStyle(int row, int col) const {
    if (const Cell* c = cell(row, col)) return c->style;
    if (auto it = rowStyles.find(row); it != rowStyles.end()) return it->second;
    if (auto it = columnStyles.find(col); it != columnStyles.end()) return it->second;
    return defaultStyle;
}

const Cell* SheetData::cell(int row, int col) const {
    auto it = cells.find(CellAddress{row, col});
    return it != cells.end() ? &it->second : nullptr;
}

const CellArea* SheetData::mergeContaining(int row, int col) const {
    for (const CellArea& m : merges) {
        if (m.contains(row, col)) return &m;
    }
    return nullptr;
}

}  // namespace engine
