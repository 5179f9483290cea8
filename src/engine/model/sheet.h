#pragma once

#include "engine/model/cell_store.h"
#include "engine/model/cell_style.h"
#include "engine/model/cell_types.h"
#include "engine/model/index_map.h"
#include "engine/model/page_setup.h"
#include "engine/model/style_table.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace engine {

// A worksheet's data: cells and formats stored sparsely. The effective format of a
// cell is its own when it has one, else its row's, else its column's, else the
// sheet's default; whole-sheet, row and column formats are stored once, never per
// cell, so memory grows with the cells written and not with the sheet's size.
//
// Formatting whole rows or columns works as in spreadsheets: the rows' (columns')
// style changes, every stored cell in them changes too, and where a formatted
// column crosses a newly formatted row (or the other way round) the intersection
// cell is created so that it keeps the column's (row's) format with the change.
//
// Borders are stored per cell, four edges each (CellStyle::borders). An edge border
// set on a range goes to the outer cells of that side only (the left edge to the
// left edge of the first column's cells, and so on). Inside vertical lines set the
// right edge of every cell but the last column and the left edge of every cell but
// the first column; inside horizontal lines likewise the bottom and top edges. So a
// line between two cells is stored on both when drawn as an inside line, and on one
// side only when drawn as the edge of a range; a renderer draws a line where either
// neighbour has one (the heavier wins).
//
// Merged areas: the value sits in the top-left cell; the other cells keep their
// formats (their borders draw the area's outline).
struct SheetData {
    QString name;

    CellStore cells;                     // cells with a value or a format of their own
    StyleId defaultStyle = kDefaultStyleId;
    IndexMap<StyleId> rowStyles;         // rows formatted as a whole
    IndexMap<StyleId> columnStyles;      // columns formatted as a whole

    static constexpr double kDefaultColumnWidth = 8.43;  // characters of the standard font
    static constexpr double kDefaultRowHeight = 12.75;   // points
    // Sizes of rows and columns without one of their own (changed only by sizing the
    // whole sheet at once).
    double standardColumnWidth = kDefaultColumnWidth;
    double standardRowHeight = kDefaultRowHeight;
    IndexMap<double> columnWidths;       // characters
    IndexMap<double> rowHeights;         // points

    std::vector<CellArea> merges;
    PageSetupData pageSetup;

    // Where the sheet opens: the selected area and its active cell (A1 until a
    // range is selected). Saved with the workbook.
    CellArea selection{};
    CellAddress activeCell{};

    double columnWidth(int col) const;
    double rowHeight(int row) const;
    StyleId effectiveStyle(int row, int col) const;
    // The format a cell without one of its own shows: its row's, else its column's,
    // else the sheet's (a new cell takes it).
    StyleId formatOfEmptyCell(int row, int col) const;
    const Cell* cell(int row, int col) const;
    // The merged area that holds the cell, or null.
    const CellArea* mergeContaining(int row, int col) const;
};

// The default 56-entry palette of a new workbook, and a workbook's data.
// Colours are stored as red + 256 * green + 65536 * blue.
using Palette = std::array<std::uint32_t, 56>;
Palette defaultPalette();

struct WorkbookData {
    Palette palette = defaultPalette();
    StyleTable styles;
    std::vector<std::unique_ptr<SheetData>> sheets;
    int activeSheet = 0;
};

}  // namespace engine
