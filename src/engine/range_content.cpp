// What a range holds: contents written as typed, formulas, values.
#include "engine/detail/handle_access.h"
#include "engine/detail/recalculation.h"
#include "engine/formula/format_general.h"
#include "engine/formula/formula.h"
#include "engine/formula/typed_input.h"
#include "engine/range.h"

#include <QLocale>

namespace engine {

using detail::checkedView;
using detail::editorFor;

namespace {

// Writes one cell as if typed: a formula after "=", else the constant the text
// reads as, with the number format it implies for a cell still in "General".
void writeTyped(detail::SheetEditor& editor, int row, int col, const QString& text) {
    const CellAddress at{row, col};
    const formula::TypedInput input = formula::parseTypedInput(text, QLocale());
    if (input.isFormula) {
        auto parsed = formula::Formula::parse(text, formula::ReferenceStyle::R1C1, at);
        Cell& cell = editor.cellAt(row, col);
        cell.formula = std::move(parsed);
        cell.value = CellValue{};
        cell.resultValid = false;
    } else {
        Cell& cell = editor.cellAt(row, col);
        cell.formula.reset();
        cell.value = input.constant;
        cell.resultValid = false;
        if (!input.impliedNumberFormat.isEmpty() &&
            editor.book().data.styles.style(cell.style).numberFormat == u"General")
            editor.applyStyle(CellArea{row, col, row, col}, detail::StyleChange::numberFormat(input.impliedNumberFormat));
    }
    editor.contentChanged();
}

QString constantText(const CellValue& value) {
    if (const double* d = std::get_if<double>(&value)) return formula::formatGeneral(*d);
    if (const QString* s = std::get_if<QString>(&value)) return *s;
    if (const bool* b = std::get_if<bool>(&value)) return *b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (const ErrorValue* e = std::get_if<ErrorValue>(&value)) return errorText(*e);
    return QString();
}

}  // namespace

void Range::SetFormulaR1C1(const QString& text) const {
    auto editor = editorFor(m_book, m_sheet);
    detail::checkCellCount(Count());
    for (int r = m_area.firstRow; r <= m_area.lastRow; ++r) {
        for (int c = m_area.firstCol; c <= m_area.lastCol; ++c) writeTyped(editor, r, c, text);
    }
}

void Range::SetText(const QString& text) const {
    auto editor = editorFor(m_book, m_sheet);
    detail::checkCellCount(Count());
    formula::requireCellText(text);
    const CellValue constant = text.isEmpty() ? CellValue{} : CellValue{text};
    for (int r = m_area.firstRow; r <= m_area.lastRow; ++r) {
        for (int c = m_area.firstCol; c <= m_area.lastCol; ++c) {
            Cell& cell = editor.cellAt(r, c);
            cell.formula.reset();
            cell.value = constant;
            cell.resultValid = false;
        }
    }
    editor.contentChanged();
}

QString Range::FormulaR1C1() const {
    checkedView(m_book, m_sheet);
    const Cell* cell = m_sheet->cell(m_area.firstRow, m_area.firstCol);
    if (!cell) return QString();
    if (!cell->hasFormula()) return constantText(cell->value);
    if (!cell->formula->writtenR1C1().isEmpty()) return cell->formula->writtenR1C1();
    return cell->formula->toR1C1(CellAddress{m_area.firstRow, m_area.firstCol});
}

QString Range::Formula() const {
    checkedView(m_book, m_sheet);
    const Cell* cell = m_sheet->cell(m_area.firstRow, m_area.firstCol);
    if (!cell) return QString();
    if (!cell->hasFormula()) return constantText(cell->value);
    return cell->formula->toA1(CellAddress{m_area.firstRow, m_area.firstCol});
}

CellValue Range::Value() const {
    checkedView(m_book, m_sheet);
    return detail::Recalculator(*m_book).valueAt(*m_sheet, m_area.firstRow, m_area.firstCol);
}

}  // namespace engine
