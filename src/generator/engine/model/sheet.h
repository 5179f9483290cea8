#pragma once

#include "generator/engine/model/cell_style.h"
#include "generator/engine/model/cell_types.h"
#include "generator/engine/model/style_table.h"

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace engine {

namespace formula {
class Formula;  // a parsed formula (see formula/)
}

// One stored cell: a constant value, or a formula with its cached result.
struct Cell {
    CellValue value;                                   // constant, or the formula's result
    std::shared_ptr<const formula::Formula> formula;   // null for constants
    bool resultValid = false;                          // the cached result is current
    StyleId style = kDefaultStyleId;                   // the cell's own format
    bool hasFormula() const { return formula != nullptr; }
};

// Page setup as stored with the sheet. Margins in inches.
struct PageSetupData {
    std::optional<CellArea> printArea;
    double leftMargin = 0.7, rightMargin = 0.7, topMargin = 0.75, bottomMargin = 0.75;
    double headerMargin = 0.3, footerMargin = 0.3;
    int printComments = -4142;  // xlPrintNoComments
    int orientation = 1;        // 1 portrait, 2 landscape
    int paperSize = 1;          // 1 letter, 9 A4
    std::optional<int> zoom = 100;  // empty: fit to pages
    int fitToPagesWide = 1;
    int fitToPagesTall = 1;
    friend bool operator==(const PageSetupData&, const PageSetupData&) = default;
};

// A worksheet's data: cells and formats stored sparsely. The effective format of a
// cell is its own when it has one, else its row's, else its column's, else the
// sheet's default; whole-sheet, row and column formats never touch other cells.
struct SheetData {
    QString name;

    std::map<CellAddress, Cell> cells;   // cells with a value or a format of their own
    StyleId defaultStyle = kDefaultStyleId;
    std::map<int, StyleId> rowStyles;    // rows formatted as a whole
    std::map<int, StyleId> columnStyles; // columns formatted as a whole

    static constexpr double kDefaultColumnWidth = 8.43;  // characters of the standard font
    static constexpr double kDefaultRowHeight = 12.75;   // points
    std::map<int, double> columnWidths;  // characters
    std::map<int, double> rowHeights;    // points

    std::vector<CellArea> merges;
    PageSetupData pageSetup;

    double columnWidth(int col) const;
    double rowHeight(int row) const;
    StyleId effectiveStyle(int row, int col) const;
    const Cell* cell(int row, int col) const;
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
