#include "engine/detail/sheet_editor.h"

#include "engine/model/engine_error.h"

#include <algorithm>
#include <array>

namespace engine::detail {

namespace {

constexpr long long kMaxCellsAtOnce = 2'000'000;
constexpr StyleId kNoStyle = ~StyleId{0};

bool overlaps(const CellArea& a, const CellArea& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstCol <= b.lastCol &&
           b.firstCol <= a.lastCol;
}

// The results of one change by the style it starts from, directly mapped: an area
// holds few distinct styles (its columns, alternating fills, edges), so a change
// over thousands of cells costs a few style changes and a lookup per cell.
class ChangeMemo {
public:
    ChangeMemo(StyleChanger& changer, const StyleChange& change) : m_changer(changer), m_change(change) {
        m_from.fill(kNoStyle);
    }
    StyleId operator()(StyleId id) {
        const std::size_t slot = id % kSlots;
        if (m_from[slot] != id) {
            m_from[slot] = id;
            m_result[slot] = m_changer.apply(id, m_change);
        }
        return m_result[slot];
    }

private:
    static constexpr std::size_t kSlots = 16;
    StyleChanger& m_changer;
    const StyleChange& m_change;
    std::array<StyleId, kSlots> m_from;
    std::array<StyleId, kSlots> m_result{};
};

}  // namespace

void checkCellCount(long long cells) {
    if (cells > kMaxCellsAtOnce) throw EngineError(QStringLiteral("Selection is too large."));
}

template <typename F>
void SheetEditor::forStoredCells(const CellArea& area, F&& f) {
    const int lastRow = std::min(area.lastRow, m_sheet.cells.rowEnd() - 1);
    for (int r = area.firstRow; r <= lastRow; ++r) {
        for (auto& [at, cell] : m_sheet.cells.row(r)) {
            if (at.col >= area.firstCol && at.col <= area.lastCol) f(cell);
        }
    }
}

template <typename F>
void SheetEditor::forEveryCell(const CellArea& area, F&& f) {
    checkCellCount(static_cast<long long>(area.rowCount()) * area.columnCount());
    m_sheet.cells.obtainArea(
        area, [&](int row, int col) { return m_sheet.formatOfEmptyCell(row, col); }, f);
}

void SheetEditor::applyStyleToArea(const CellArea& area, const StyleChange& c) {
    ChangeMemo change(m_book.styleChanger, c);
    if (area.isWholeSheet()) {
        m_sheet.defaultStyle = change(m_sheet.defaultStyle);
        for (auto& [row, style] : m_sheet.rowStyles) style = change(style);
        for (auto& [col, style] : m_sheet.columnStyles) style = change(style);
        for (auto& [at, cell] : m_sheet.cells) cell.style = change(cell.style);
        return;
    }
    if (area.isWholeRows()) {
        // Formatted columns keep their format, with the change, where they cross a
        // row that gets a format of its own now.
        if (!m_sheet.columnStyles.empty()) {
            checkCellCount(static_cast<long long>(area.rowCount()) * static_cast<long long>(m_sheet.columnStyles.size()));
            for (int r = area.firstRow; r <= area.lastRow; ++r) {
                if (m_sheet.rowStyles.contains(r)) continue;
                for (const auto& [col, style] : m_sheet.columnStyles) cellAt(r, col);
            }
        }
        for (int r = area.firstRow; r <= area.lastRow; ++r) {
            if (StyleId* style = m_sheet.rowStyles.get(r)) *style = change(*style);
            else m_sheet.rowStyles.emplace(r, change(m_sheet.defaultStyle));
        }
        forStoredCells(area, [&](Cell& cell) { cell.style = change(cell.style); });
        return;
    }
    if (area.isWholeColumns()) {
        // Formatted rows win over columns: their crossings become cells that keep the
        // row's format, with the change.
        if (!m_sheet.rowStyles.empty()) {
            checkCellCount(static_cast<long long>(area.columnCount()) * static_cast<long long>(m_sheet.rowStyles.size()));
            for (const auto& [row, style] : m_sheet.rowStyles) {
                for (int col = area.firstCol; col <= area.lastCol; ++col) cellAt(row, col);
            }
        }
        for (int col = area.firstCol; col <= area.lastCol; ++col) {
            if (StyleId* style = m_sheet.columnStyles.get(col)) *style = change(*style);
            else m_sheet.columnStyles.emplace(col, change(m_sheet.defaultStyle));
        }
        forStoredCells(area, [&](Cell& cell) { cell.style = change(cell.style); });
        return;
    }
    forEveryCell(area, [&](Cell& cell) { cell.style = change(cell.style); });
}

void SheetEditor::clear(const CellArea& area) {
    std::erase_if(m_sheet.merges, [&](const CellArea& m) { return overlaps(m, area); });
    contentChanged();
    if (area.isWholeSheet()) {
        m_sheet.cells.clear();
        m_sheet.rowStyles.clear();
        m_sheet.columnStyles.clear();
        m_sheet.defaultStyle = kDefaultStyleId;
        return;
    }
    m_sheet.cells.erase(area.firstRow, area.lastRow, area.firstCol, area.lastCol);
    if (area.isWholeRows()) {
        const bool keepRows = m_sheet.defaultStyle != kDefaultStyleId || !m_sheet.columnStyles.empty();
        for (int r = area.firstRow; r <= area.lastRow; ++r) {
            if (keepRows) m_sheet.rowStyles[r] = kDefaultStyleId;
            else m_sheet.rowStyles.erase(r);
        }
        return;
    }
    if (area.isWholeColumns()) {
        for (int col = area.firstCol; col <= area.lastCol; ++col) {
            if (m_sheet.defaultStyle != kDefaultStyleId) m_sheet.columnStyles[col] = kDefaultStyleId;
            else m_sheet.columnStyles.erase(col);
        }
        for (const auto& [row, style] : m_sheet.rowStyles) {
            if (style == kDefaultStyleId) continue;
            for (int col = area.firstCol; col <= area.lastCol; ++col) cellAt(row, col).style = kDefaultStyleId;
        }
        return;
    }
    // Cells whose row, column or sheet is formatted are kept with the default format.
    const bool formatted = m_sheet.defaultStyle != kDefaultStyleId || !m_sheet.rowStyles.empty() ||
                           !m_sheet.columnStyles.empty();
    if (!formatted) return;
    checkCellCount(static_cast<long long>(area.rowCount()) * area.columnCount());
    for (int r = area.firstRow; r <= area.lastRow; ++r) {
        for (int col = area.firstCol; col <= area.lastCol; ++col) {
            if (m_sheet.formatOfEmptyCell(r, col) != kDefaultStyleId) cellAt(r, col).style = kDefaultStyleId;
        }
    }
}

void SheetEditor::clearContent(Cell& cell) {
    if (isEmpty(cell.value) && !cell.hasFormula()) return;
    cell.value = CellValue{};
    cell.formula.reset();
    cell.resultValid = false;
    contentChanged();
}

void SheetEditor::merge(const CellArea& area) {
    if (area.rowCount() == 1 && area.columnCount() == 1) return;
    CellArea joined = area;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = m_sheet.merges.begin(); it != m_sheet.merges.end(); ++it) {
            if (overlaps(*it, joined)) {
                joined = boundingArea(joined, *it);
                m_sheet.merges.erase(it);
                grew = true;
                break;
            }
        }
    }
    m_sheet.merges.push_back(joined);
    // Only the top-left value stays.
    const Cell* topLeft = findCell(joined.firstRow, joined.firstCol);
    forStoredCells(joined, [&](Cell& cell) {
        if (&cell != topLeft) clearContent(cell);
    });
}

void SheetEditor::setRowHeight(const CellArea& area, double points) {
    if (area.isWholeColumns()) {
        m_sheet.standardRowHeight = points;
        m_sheet.rowHeights.clear();
        return;
    }
    for (int r = area.firstRow; r <= area.lastRow; ++r) m_sheet.rowHeights[r] = points;
}

void SheetEditor::setColumnWidth(const CellArea& area, double characters) {
    if (area.isWholeRows()) {
        m_sheet.standardColumnWidth = characters;
        m_sheet.columnWidths.clear();
        return;
    }
    for (int col = area.firstCol; col <= area.lastCol; ++col) m_sheet.columnWidths[col] = characters;
}

}  // namespace engine::detail
