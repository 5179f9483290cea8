#include "engine/worksheet.h"

#include "engine/detail/handle_access.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/model/used_range.h"

namespace engine {

using detail::checkedView;

namespace {

constexpr int kMaxSheetNameLength = 31;

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
