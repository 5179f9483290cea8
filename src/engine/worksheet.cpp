#include "engine/worksheet.h"

#include "engine/detail/handle_access.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/model/used_range.h"

namespace engine {

using detail::checkedView;

namespace {

constexpr int kMaxSheetNameLength = 31;

// A 1-based row or column number as a 0-based index within the sheet.
int rowIndex(int row) {
    if (row < 1 || row > kMaxRows) throw EngineError(QStringLiteral("A sheet has no row %1: its rows are 1 to 65536.").arg(row));
    return row - 1;
}

int columnIndex(int column) {
    if (column < 1 || column > kMaxColumns)
        throw EngineError(QStringLiteral("A sheet has no column %1: its columns are 1 to 256.").arg(column));
    return column - 1;
}

void checkSheetName(const detail::WorkbookState& book, const SheetData* sheet, const QString& name) {
    if (name.isEmpty() || name.size() > kMaxSheetNameLength)
        throw EngineError(QStringLiteral("A sheet name must have 1 to 31 characters."));
    for (QChar c : QStringLiteral(":\\/?*[]")) {
        if (name.contains(c))
            throw EngineError(QStringLiteral("A sheet name may not contain any of : \\ / ? * [ ]."));
    }
    for (const auto& other : book.data.sheets) {
        if (other.get() != sheet && other->name.compare(name, Qt::CaseInsensitive) == 0)
            throw EngineError(QStringLiteral("The workbook already has a sheet named \"%1\".").arg(other->name));
    }
}

}  // namespace

Worksheet::Worksheet(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet)
    : m_book(std::move(book)), m_sheet(sheet) {}

QString Worksheet::Name() const {
    checkedView(m_book, m_sheet);
    return m_sheet->name;
}

void Worksheet::SetName(const QString& name) const {
    checkedView(m_book, m_sheet);
    checkSheetName(*m_book, m_sheet, name);
    m_sheet->name = name;
}

void Worksheet::Delete() const {
    checkedView(m_book, m_sheet);
    if (m_book->data.sheets.size() == 1)
        throw EngineError(QStringLiteral("A workbook must keep at least one sheet."));
    m_book->deleteSheet(m_sheet);
    m_book->needsCalculation = true;
}

void Worksheet::Select() const {
    checkedView(m_book, m_sheet);
    m_book->data.activeSheet = m_book->indexOf(m_sheet);
    m_book->app->activate(m_book);
}

Range Worksheet::Range(const QString& reference) const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, parseRangeReference(reference));
}

Range Worksheet::Cells() const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, CellArea{0, 0, kMaxRows - 1, kMaxColumns - 1});
}

Range Worksheet::Rows(const QString& rows) const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, parseRowsReference(rows));
}

Range Worksheet::Columns(const QString& columns) const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, parseColumnsReference(columns));
}

Range Worksheet::Cells(int row, int column) const {
    checkedView(m_book, m_sheet);
    const int r = rowIndex(row);
    const int c = columnIndex(column);
    return engine::Range(m_book, m_sheet, CellArea{r, c, r, c});
}

Range Worksheet::Range(const engine::Range& cell1, const engine::Range& cell2) const {
    checkedView(m_book, m_sheet);
    if (cell1.sheet() != m_sheet || cell2.sheet() != m_sheet)
        throw EngineError(QStringLiteral("A range spans cells of its own sheet only."));
    return engine::Range(m_book, m_sheet, boundingArea(cell1.Area(), cell2.Area()));
}

Range Worksheet::Rows(int first, int last) const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, areaBetween(rowIndex(first), 0, rowIndex(last), kMaxColumns - 1));
}

Range Worksheet::Columns(int first, int last) const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, areaBetween(0, columnIndex(first), kMaxRows - 1, columnIndex(last)));
}

Range Worksheet::UsedRange() const {
    checkedView(m_book, m_sheet);
    return engine::Range(m_book, m_sheet, usedArea(*m_sheet).value_or(CellArea{}));
}

PageSetup Worksheet::PageSetup() const {
    checkedView(m_book, m_sheet);
    return engine::PageSetup(m_book, m_sheet);
}

const SheetData& Worksheet::Data() const {
    checkedView(m_book, m_sheet);
    return *m_sheet;
}

}  // namespace engine
