#include "engine/range.h"

#include "engine/detail/checked_enum.h"
#include "engine/detail/handle_access.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"

namespace engine {

using detail::checkedView;
using detail::editorFor;
using detail::topLeftStyle;

namespace {

constexpr double kMaxRowHeight = 409;
constexpr double kMaxColumnWidth = 255;

}  // namespace

Range::Range(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet, CellArea area)
    : m_book(std::move(book)), m_sheet(sheet), m_area(area) {}

void Range::Select() const {
    checkedView(m_book, m_sheet);
    const detail::AppState& app = *m_book->app;
    if (app.active.get() != m_book.get() || &m_book->activeSheet() != m_sheet)
        throw EngineError(QStringLiteral("A range can be selected only on the active sheet of the active workbook."));
    m_sheet->selection = m_area;
    m_sheet->activeCell = CellAddress{m_area.firstRow, m_area.firstCol};
}

void Range::Clear() const { editorFor(m_book, m_sheet).clear(m_area); }

Font Range::Font() const { return engine::Font(*this); }
Interior Range::Interior() const { return engine::Interior(*this); }
RangeBorder Range::Borders(BorderEdge edge) const { return RangeBorder(*this, edge); }

HorizontalAlignment Range::HorizontalAlignment() const { return topLeftStyle(m_book, m_sheet, m_area).hAlign; }

void Range::SetHorizontalAlignment(engine::HorizontalAlignment alignment) const {
    detail::checkedEnum(alignment, engine::HorizontalAlignment::Right, "horizontal alignment");
    editorFor(m_book, m_sheet).applyStyle(m_area, detail::StyleChange::hAlign(alignment));
}

VerticalAlignment Range::VerticalAlignment() const { return topLeftStyle(m_book, m_sheet, m_area).vAlign; }

void Range::SetVerticalAlignment(engine::VerticalAlignment alignment) const {
    detail::checkedEnum(alignment, engine::VerticalAlignment::Bottom, "vertical alignment");
    editorFor(m_book, m_sheet).applyStyle(m_area, detail::StyleChange::vAlign(alignment));
}

bool Range::WrapText() const { return topLeftStyle(m_book, m_sheet, m_area).wrap; }

void Range::SetWrapText(bool wrap) const {
    editorFor(m_book, m_sheet).applyStyle(m_area, detail::StyleChange::wrap(wrap));
}

QString Range::NumberFormat() const { return topLeftStyle(m_book, m_sheet, m_area).numberFormat; }

void Range::SetNumberFormat(const QString& format) const {
    if (format.size() > 255)
        throw EngineError(QStringLiteral("A number format may have at most 255 characters."));
    const QString f = format.isEmpty() ? QStringLiteral("General") : format;
    editorFor(m_book, m_sheet).applyStyle(m_area, detail::StyleChange::numberFormat(f));
}

double Range::RowHeight() const {
    checkedView(m_book, m_sheet);
    return m_sheet->rowHeight(m_area.firstRow);
}

void Range::SetRowHeight(double points) const {
    if (!(points >= 0 && points <= kMaxRowHeight))
        throw EngineError(QStringLiteral("A row height must be between 0 and 409 points."));
    editorFor(m_book, m_sheet).setRowHeight(m_area, points);
}

double Range::ColumnWidth() const {
    checkedView(m_book, m_sheet);
    return m_sheet->columnWidth(m_area.firstCol);
}

void Range::SetColumnWidth(double characters) const {
    if (!(characters >= 0 && characters <= kMaxColumnWidth))
        throw EngineError(QStringLiteral("A column width must be between 0 and 255 characters."));
    editorFor(m_book, m_sheet).setColumnWidth(m_area, characters);
}

void Range::Merge() const { editorFor(m_book, m_sheet).merge(m_area); }

bool Range::MergeCells() const {
    checkedView(m_book, m_sheet);
    return m_sheet->mergeContaining(m_area.firstRow, m_area.firstCol) != nullptr;
}

int Range::Row() const { return m_area.firstRow + 1; }
int Range::Column() const { return m_area.firstCol + 1; }
long long Range::Count() const { return static_cast<long long>(m_area.rowCount()) * m_area.columnCount(); }
RangeRows Range::Rows() const { return RangeRows(*this); }
RangeColumns Range::Columns() const { return RangeColumns(*this); }
QString Range::Address() const { return areaReference(m_area, true); }

int RangeRows::Count() const { return m_range.Area().rowCount(); }

Range RangeRows::Item(int n) const {
    CellArea a = m_range.Area();
    const int row = a.firstRow + n - 1;
    if (n < 1 || row >= kMaxRows) throw EngineError(QStringLiteral("There is no row %1 in the range.").arg(n));
    a.firstRow = a.lastRow = row;
    return Range(m_range.book(), m_range.sheet(), a);
}

int RangeColumns::Count() const { return m_range.Area().columnCount(); }

Range RangeColumns::Item(int n) const {
    CellArea a = m_range.Area();
    const int col = a.firstCol + n - 1;
    if (n < 1 || col >= kMaxColumns) throw EngineError(QStringLiteral("There is no column %1 in the range.").arg(n));
    a.firstCol = a.lastCol = col;
    return Range(m_range.book(), m_range.sheet(), a);
}

}  // namespace engine
