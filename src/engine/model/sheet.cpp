#include "engine/model/sheet.h"

namespace engine {

double SheetData::columnWidth(int col) const {
    const double* width = columnWidths.get(col);
    return width ? *width : standardColumnWidth;
}

double SheetData::rowHeight(int row) const {
    const double* height = rowHeights.get(row);
    return height ? *height : standardRowHeight;
}

StyleId SheetData::effectiveStyle(int row, int col) const {
    if (const Cell* c = cells.find(row, col)) return c->style;
    return formatOfEmptyCell(row, col);
}

StyleId SheetData::formatOfEmptyCell(int row, int col) const {
    if (const StyleId* style = rowStyles.get(row)) return *style;
    if (const StyleId* style = columnStyles.get(col)) return *style;
    return defaultStyle;
}

const Cell* SheetData::cell(int row, int col) const { return cells.find(row, col); }

const CellArea* SheetData::mergeContaining(int row, int col) const {
    for (const CellArea& m : merges) {
        if (m.contains(row, col)) return &m;
    }
    return nullptr;
}

}  // namespace engine
