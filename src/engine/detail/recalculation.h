#pragma once

#include "engine/detail/engine_state.h"

namespace engine::detail {

// Formula results on demand. A change to any cell makes every cached result stale
// (the workbook's needsCalculation flag); the first read after it drops the cached
// results once, and each formula is then evaluated at most once until the next
// change, however many cells refer to it. A formula that refers back to itself,
// directly or through others, gets the error value #REF! instead of recursing
// forever, and long chains of formulas are evaluated without deep recursion.
class Recalculator {
public:
    explicit Recalculator(WorkbookState& book) : m_book(book) {}

    // The value of a cell, with its formula evaluated when it has one.
    CellValue valueAt(SheetData& sheet, int row, int col);
    // Brings every formula's result up to date.
    void calculateAll();

private:
    void dropStaleResults();
    void ensure(SheetData& sheet, CellAddress at, Cell& cell);

    WorkbookState& m_book;
};

}  // namespace engine::detail
