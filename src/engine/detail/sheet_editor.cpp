#include "engine/detail/sheet_editor.h"

#include "engine/model/engine_error.h"

#include <algorithm>
#include <array>

namespace engine::detail {

namespace {

constexpr long long kMaxCellsAtOnce = 2'000'000;
constexpr StyleId kNoStyle = ~StyleId{0};
// Areas from this many cells on are remembered for the next change of the same area.
constexpr long long kRememberedAreaSize = 64;

bool overlaps(const CellArea& a, const CellArea& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstCol <= b.lastCol &&
           b.firstCol <= a.lastCol;
}

bool contains(const CellArea& outer, const CellArea& inner) {
    return outer.firstRow <= inner.firstRow && inner.lastRow <= outer.lastRow && outer.firstCol <= inner.firstCol &&
           inner.lastCol <= outer.lastCol;
}

CellArea bounding(const CellArea& a, const CellArea& b) {
    return CellArea{std::min(a.firstRow, b.firstRow), std::min(a.firstCol, b.firstCol),
                    std::max(a.lastRow, b.lastRow), std::max(a.lastCol, b.lastCol)};
}

}  // namespace

void checkCellCount(long long cells) {
    if (cells > kMaxCellsAtOnce) throw EngineError(QStringLiteral("Selection is too large."));
}

Cell* SheetEditor::findCell(int row, int col) {
    const CellAddress at{row, col};
    if (m_view.lastCell && m_view.lastAt == at) return m_view.lastCell;
    auto it = m_sheet.cells.find(at);
    if (it == m_sheet.cells.end()) return nullptr;
    m_view.lastAt = at;
    m_view.lastCell = &it->second;
    return m_view.lastCell;
}

// A new cell takes the format it showed: its row's, else its column's, else the sheet's.
SheetEditor::CellMap::iterator SheetEditor::createAt(CellMap::iterator hint, int row, int col) {
    m_view.memoValid = false;
    Cell cell;
    if (auto r = m_sheet.rowStyles.find(row); r != m_sheet.rowStyles.end()) cell.style = r->second;
    else if (auto c = m_sheet.columnStyles.find(col); c != m_sheet.columnStyles.end()) cell.style = c->second;
    else cell.style = m_sheet.defaultStyle;
    return m_sheet.cells.emplace_hint(hint, CellAddress{row, col}, std::move(cell));
}

Cell& SheetEditor::cellAt(int row, int col) {
    const CellAddress at{row, col};
    if (m_view.lastCell && m_view.lastAt == at) return *m_view.lastCell;
    auto it = m_sheet.cells.lower_bound(at);
    if (it == m_sheet.cells.end() || it->first != at) it = createAt(it, row, col);
    m_view.lastAt = at;
    m_view.lastCell = &it->second;
    return it->second;
}

template <typename F>
void SheetEditor::forStoredCells(const CellArea& area, F&& f) {
    auto& cells = m_sheet.cells;
    if (area.isWholeRows()) {
        auto end = cells.upper_bound(CellAddress{area.lastRow, kMaxColumns});
        for (auto it = cells.lower_bound(CellAddress{area.firstRow, 0}); it != end; ++it) f(it->second);
        return;
    }
    if (area.isWholeColumns()) {
        for (auto& [at, cell] : cells) {
            if (at.col >= area.firstCol && at.col <= area.lastCol) f(cell);
        }
        return;
    }
    for (int r = area.firstRow; r <= area.lastRow; ++r) {
        auto end = cells.upper_bound(CellAddress{r, area.lastCol});
        for (auto it = cells.lower_bound(CellAddress{r, area.firstCol}); it != end; ++it) f(it->second);
    }
}

void SheetEditor::rememberCells(const CellArea& area) {
    const int columns = area.columnCount();
    m_view.memoCells.assign(static_cast<std::size_t>(area.rowCount()) * static_cast<std::size_t>(columns), nullptr);
    auto& cells = m_sheet.cells;
    auto it = cells.lower_bound(CellAddress{area.firstRow, area.firstCol});
    for (int r = area.firstRow; r <= area.lastRow && it != cells.end(); ++r) {
        // The next row's first cell is usually a few steps on, cheaper to walk to
        // than to look up from the root.
        const CellAddress rowStart{r, area.firstCol};
        for (int steps = 0; it != cells.end() && it->first < rowStart && steps < 8; ++steps) ++it;
        if (it != cells.end() && it->first < rowStart) it = cells.lower_bound(rowStart);
        for (; it != cells.end() && it->first.row == r && it->first.col <= area.lastCol; ++it) {
            const std::size_t index = static_cast<std::size_t>(r - area.firstRow) * static_cast<std::size_t>(columns) +
                                      static_cast<std::size_t>(it->first.col - area.firstCol);
            m_view.memoCells[index] = &it->second;
        }
    }
    m_view.memoArea = area;
    m_view.memoValid = true;
}

template <typename F>
void SheetEditor::forEveryCell(const CellArea& area, F&& f) {
    if (area.rowCount() == 1 && area.columnCount() == 1) {
        f(cellAt(area.firstRow, area.firstCol));
        return;
    }
    const long long count = static_cast<long long>(area.rowCount()) * area.columnCount();
    checkCellCount(count);
    if (count < kRememberedAreaSize) {
        auto& cells = m_sheet.cells;
        for (int r = area.firstRow; r <= area.lastRow; ++r) {
            auto it = cells.lower_bound(CellAddress{r, area.firstCol});
            for (int c = area.firstCol; c <= area.lastCol; ++c) {
                if (it == cells.end() || it->first != CellAddress{r, c}) it = createAt(it, r, c);
                f(it->second);
                ++it;
            }
        }
        return;
    }
    if (!m_view.memoValid || !contains(m_view.memoArea, area)) {
        // Remembering the whole selection serves every part of it the layout changes next.
        const CellArea& selection = m_view.selection;
        const long long selectionCount = static_cast<long long>(selection.rowCount()) * selection.columnCount();
        const bool wholeSelection =
            contains(selection, area) && selectionCount <= 4 * count && selectionCount <= kMaxCellsAtOnce;
        rememberCells(wholeSelection ? selection : area);
    }
    const CellArea& memo = m_view.memoArea;
    const auto columns = static_cast<std::size_t>(memo.columnCount());
    for (int r = area.firstRow; r <= area.lastRow; ++r) {
        const std::size_t rowStart = static_cast<std::size_t>(r - memo.firstRow) * columns;
        for (int c = area.firstCol; c <= area.lastCol; ++c) {
            Cell*& slot = m_view.memoCells[rowStart + static_cast<std::size_t>(c - memo.firstCol)];
            if (!slot) {
                slot = &createAt(m_sheet.cells.lower_bound(CellAddress{r, c}), r, c)->second;
                m_view.memoValid = true;  // the memo holds the new cell too
            }
            f(*slot);
        }
    }
}

void SheetEditor::applyStyle(const CellArea& area, const StyleChange& c) {
    // An area holds few distinct styles (its columns, alternating fills, edges), so
    // the results of this one change are remembered by style, directly mapped.
    constexpr std::size_t kMemoSlots = 16;
    std::array<StyleId, kMemoSlots> memoFrom;
    std::array<StyleId, kMemoSlots> memoResult;
    memoFrom.fill(kNoStyle);
    auto change = [&](StyleId id, const StyleChange& c) {
        const std::size_t slot = id % kMemoSlots;
        if (memoFrom[slot] != id) {
            memoFrom[slot] = id;
            memoResult[slot] = m_book.styleChanger.apply(id, c);
        }
        return memoResult[slot];
    };
    if (area.isWholeSheet()) {
        m_sheet.defaultStyle = change(m_sheet.defaultStyle, c);
        for (auto& [row, style] : m_sheet.rowStyles) style = change(style, c);
        for (auto& [col, style] : m_sheet.columnStyles) style = change(style, c);
        for (auto& [at, cell] : m_sheet.cells) cell.style = change(cell.style, c);
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
            auto it = m_sheet.rowStyles.find(r);
            if (it == m_sheet.rowStyles.end()) m_sheet.rowStyles.emplace(r, change(m_sheet.defaultStyle, c));
            else it->second = change(it->second, c);
        }
        forStoredCells(area, [&](Cell& cell) { cell.style = change(cell.style, c); });
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
            auto it = m_sheet.columnStyles.find(col);
            if (it == m_sheet.columnStyles.end()) m_sheet.columnStyles.emplace(col, change(m_sheet.defaultStyle, c));
            else it->second = change(it->second, c);
        }
        forStoredCells(area, [&](Cell& cell) { cell.style = change(cell.style, c); });
        return;
    }
    forEveryCell(area, [&](Cell& cell) { cell.style = change(cell.style, c); });
}

void SheetEditor::eraseCells(const CellArea& area) {
    auto& cells = m_sheet.cells;
    m_view.lastCell = nullptr;
    m_view.memoValid = false;
    if (area.isWholeColumns()) {
        std::erase_if(cells, [&](const auto& entry) {
            return entry.first.col >= area.firstCol && entry.first.col <= area.lastCol;
        });
        return;
    }
    for (int r = area.firstRow; r <= area.lastRow; ++r) {
        auto first = cells.lower_bound(CellAddress{r, area.firstCol});
        auto last = cells.upper_bound(CellAddress{r, area.lastCol});
        cells.erase(first, last);
        if (area.isWholeRows()) {  // jump straight to the next stored row
            auto next = cells.lower_bound(CellAddress{r + 1, 0});
            if (next == cells.end()) break;
            r = std::max(r, next->first.row - 1);
        }
    }
}

void SheetEditor::clear(const CellArea& area) {
    std::erase_if(m_sheet.merges, [&](const CellArea& m) { return overlaps(m, area); });
    contentChanged();
    if (area.isWholeSheet()) {
        m_view.lastCell = nullptr;
        m_view.memoValid = false;
        m_sheet.cells.clear();
        m_sheet.rowStyles.clear();
        m_sheet.columnStyles.clear();
        m_sheet.defaultStyle = kDefaultStyleId;
        return;
    }
    eraseCells(area);
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
            if (m_sheet.effectiveStyle(r, col) != kDefaultStyleId) cellAt(r, col).style = kDefaultStyleId;
        }
    }
}

void SheetEditor::clearContent(Cell& cell) {
    if (isEmpty(cell.value) && !cell.hasFormula()) return;
    cell.value = CellValue{};
    cell.formula.reset();
    cell.formulaText.clear();
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
                joined = bounding(joined, *it);
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
