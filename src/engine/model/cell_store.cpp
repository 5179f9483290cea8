#include "engine/model/cell_store.h"

#include <algorithm>

namespace engine {

int CellStore::firstRow() const {
    int r = 0;
    while (r < rowEnd() && m_rows[static_cast<std::size_t>(r)].empty()) ++r;
    return r;
}

void CellStore::addRows(int upTo) { m_rows.resize(static_cast<std::size_t>(upTo) + 1); }

Cell& CellStore::add(int row, int col, StyleId style) {
    Row& cells = rowFor(row);
    // A row that holds more than one cell mostly holds a few: room for three at once.
    if (cells.size() == 1 && cells.capacity() == 1) cells.reserve(3);
    Cell cell;
    cell.style = style;
    ++m_count;
    return cells.emplace(positionIn(cells, col), CellAddress{row, col}, std::move(cell))->second;
}

void CellStore::erase(int firstRow, int lastRow, int firstCol, int lastCol) {
    lastRow = std::min(lastRow, rowEnd() - 1);
    for (int r = std::max(firstRow, 0); r <= lastRow; ++r) {
        Row& cells = m_rows[static_cast<std::size_t>(r)];
        if (cells.empty()) continue;
        auto first = positionIn(cells, firstCol);
        auto last = positionIn(cells, lastCol + 1);
        m_count -= static_cast<std::size_t>(last - first);
        cells.erase(first, last);
        if (cells.empty()) Row().swap(cells);  // an emptied row gives its memory back
    }
    while (!m_rows.empty() && m_rows.back().empty()) m_rows.pop_back();
}

}  // namespace engine
