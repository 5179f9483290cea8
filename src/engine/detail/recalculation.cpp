#include "engine/detail/recalculation.h"

#include "engine/formula/formula.h"

#include <vector>

namespace engine::detail {

namespace {

// Nested evaluations deeper than this are set aside and resumed from the bottom
// of the stack, so a chain of any length never exhausts it.
constexpr int kMaxNesting = 256;

constexpr ErrorValue kCircularReference = ErrorValue::Ref;

struct Pending {
    SheetData* sheet;
    CellAddress at;
    Cell* cell;
};

// Thrown through the evaluation when the nesting limit is reached: the cell whose
// evaluation has to come first.
struct TooDeep {
    Pending cell;
};

// Evaluates one formula cell, evaluating the formula cells it reads as needed.
class CellEvaluation : public formula::EvalContext {
public:
    CellEvaluation(SheetData& sheet, int depth) : m_sheet(sheet), m_depth(depth) {}

    void run(CellAddress at, Cell& cell) {
        cell.value = cell.formula->evaluate(at, *this);
        cell.resultValid = true;
    }

    CellValue valueAt(int row, int col) override {
        Cell* found = m_sheet.cells.find(row, col);
        if (!found) return CellValue{};
        Cell& cell = *found;
        const CellAddress at{row, col};
        if (!cell.hasFormula() || cell.resultValid) return cell.value;
        if (cell.evaluating) return kCircularReference;
        if (m_depth >= kMaxNesting) throw TooDeep{{&m_sheet, at, &cell}};
        // Marked while in progress; the mark is dropped however the evaluation ends.
        struct Mark {
            Cell& c;
            explicit Mark(Cell& c) : c(c) { c.evaluating = true; }
            ~Mark() { c.evaluating = false; }
        } mark(cell);
        CellEvaluation(m_sheet, m_depth + 1).run(at, cell);
        return cell.value;
    }

private:
    SheetData& m_sheet;
    int m_depth;
};

}  // namespace

void Recalculator::dropStaleResults() {
    if (!m_book.needsCalculation) return;
    for (const auto& sheet : m_book.data.sheets) {
        for (auto& [at, cell] : sheet->cells) {
            if (cell.hasFormula()) cell.resultValid = false;
        }
    }
    m_book.needsCalculation = false;
}

// Cells set aside stay marked as in progress until done: they wait on the cells
// above them, so meeting one of them again is a circular reference too.
void Recalculator::ensure(SheetData& sheet, CellAddress at, Cell& cell) {
    cell.evaluating = true;
    std::vector<Pending> pending;
    // Most formulas evaluate within the nesting limit: no list of set-aside cells.
    try {
        CellEvaluation(sheet, 0).run(at, cell);
        cell.evaluating = false;
        return;
    } catch (const TooDeep& deep) {
        deep.cell.cell->evaluating = true;
        pending = {{&sheet, at, &cell}, deep.cell};
    } catch (...) {
        cell.evaluating = false;
        throw;
    }
    while (!pending.empty()) {
        const Pending next = pending.back();
        if (next.cell->resultValid) {
            next.cell->evaluating = false;
            pending.pop_back();
            continue;
        }
        try {
            CellEvaluation(*next.sheet, 0).run(next.at, *next.cell);
            next.cell->evaluating = false;
            pending.pop_back();
        } catch (const TooDeep& deep) {
            deep.cell.cell->evaluating = true;
            pending.push_back(deep.cell);
        } catch (...) {
            for (const Pending& p : pending) p.cell->evaluating = false;
            throw;
        }
    }
}

CellValue Recalculator::valueAt(SheetData& sheet, int row, int col) {
    dropStaleResults();
    Cell* cell = sheet.cells.find(row, col);
    if (!cell) return CellValue{};
    if (cell->hasFormula() && !cell->resultValid) ensure(sheet, CellAddress{row, col}, *cell);
    return cell->value;
}

void Recalculator::calculateAll() {
    dropStaleResults();
    for (const auto& sheet : m_book.data.sheets) {
        for (auto& [at, cell] : sheet->cells) {
            if (cell.hasFormula() && !cell.resultValid) ensure(*sheet, at, cell);
        }
    }
}

}  // namespace engine::detail
