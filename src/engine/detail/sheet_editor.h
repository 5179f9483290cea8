#pragma once

#include "engine/detail/engine_state.h"

namespace engine::detail {

// Changes one sheet's cells, formats, sizes and merges, keeping whole-sheet, row
// and column formats sparse (see SheetData). Every change that can alter a value
// marks the workbook for recalculation.
class SheetEditor {
public:
    SheetEditor(WorkbookState& book, SheetData& sheet) : m_book(book), m_sheet(sheet) {}

    // The stored cell, created with the format it shows when absent. The reference
    // stays valid until a cell of the same row is added or removed.
    Cell& cellAt(int row, int col) {
        // A new cell takes the format it showed: its row's, else its column's, else the sheet's.
        return m_sheet.cells.obtain(row, col, [&] { return m_sheet.formatOfEmptyCell(row, col); });
    }
    Cell* findCell(int row, int col) { return m_sheet.cells.find(row, col); }

    void applyStyle(const CellArea& area, const StyleChange& change) {
        if (area.firstRow == area.lastRow && area.firstCol == area.lastCol) {
            Cell& cell = cellAt(area.firstRow, area.firstCol);
            cell.style = m_book.styleChanger.apply(cell.style, change);
        } else {
            applyStyleToArea(area, change);
        }
    }
    // Removes values, formulas, formats and merges; cleared cells show the default
    // format even where their row, column or sheet has another.
    void clear(const CellArea& area);
    void merge(const CellArea& area);
    void setRowHeight(const CellArea& area, double points);
    void setColumnWidth(const CellArea& area, double characters);
    // Empties the cell's value and formula, keeping its format.
    void clearContent(Cell& cell);
    void contentChanged() { m_book.needsCalculation = true; }

    WorkbookState& book() { return m_book; }
    SheetData& sheet() { return m_sheet; }

private:
    void applyStyleToArea(const CellArea& area, const StyleChange& change);
    // Calls f(cell) for every stored cell of the area.
    template <typename F>
    void forStoredCells(const CellArea& area, F&& f);
    // Calls f(cell) for every cell of the area, creating the missing ones.
    template <typename F>
    void forEveryCell(const CellArea& area, F&& f);

    WorkbookState& m_book;
    SheetData& m_sheet;
};

// Refuses work that would create more cells than a workbook can sensibly hold.
void checkCellCount(long long cells);

}  // namespace engine::detail
