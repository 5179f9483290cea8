#include "engine/model/cell_store.h"

#include <algorithm>

namespace engine {

namespace {

template <typename It>
It columnPosition(It first, It last, int col) {
    // Cells are mostly added after the last one of their row.
    if (first == last || std::prev(last)->first.col < col) return last;
    return std::lower_bound(first, last, col, [](const CellStore::Entry& e, int c) { return e.first.col < c; });
}

}  // namespace

int CellStore::firstRow() const {
    int r = 0;
    while (r < rowEnd() && m_rows[static_cast<std::size_t>(r)].empty()) ++r;
    return r;
}

CellStore::Row::iterator CellStore::positionIn(Row& cells, int col) {
    return columnPosition(cells.begin(), cells.end(), col);
}

CellStore::Row::const_iterator CellStore::positionIn(const Row& cells, int col) {
    return columnPosition(cells.begin(), cells.end(), col);
}

const Cell* CellStore::find(int row, int col) const {
    if (row < 0 || row >= rowEnd()) return nullptr;
    const Row& cells = m_rows[static_cast<std::size_t>(row)];
    auto it = positionIn(cells, col);
    return it != cells.end() && it->first.col == col ? &it->second : nullptr;
}

CellStore::Row& CellStore::rowFor(int row) {
    if (row >= rowEnd()) m_rows.resize(static_cast<std::size_t>(row) + 1);
    return m_rows[static_cast<std::size_t>(row)];
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
