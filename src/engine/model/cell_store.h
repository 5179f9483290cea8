#pragma once

#include "engine/model/cell_types.h"
#include "engine/model/style_table.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace engine {

namespace formula {
class Formula;  // a parsed formula (see formula/)
// Frees a formula (defined with it, so that cells need not know it whole).
struct FormulaDeleter {
    void operator()(const Formula* formula) const;
};
using FormulaPtr = std::unique_ptr<const Formula, FormulaDeleter>;
}  // namespace formula

// One stored cell: a constant value, or a formula with its cached result.
// A stored cell always carries its own format: a cell is created with the format it
// showed before (its row's, column's or the sheet's), so `style` is its effective
// format.
struct Cell {
    CellValue value;              // constant, or the formula's result
    formula::FormulaPtr formula;  // null for constants
    StyleId style = kDefaultStyleId;                   // the cell's own format
    bool resultValid = false;                          // the cached result is current
    bool evaluating = false;  // set while the formula is being evaluated (cycle detection)
    bool hasFormula() const { return formula != nullptr; }
};

// A sheet's stored cells in row order. Each row's cells sit in a vector of their
// own, sorted by column, so a cell is found by its row's index and a short search,
// added without a tree node, and the whole sheet is walked row by row in order.
// A reference to a cell stays valid until a cell of the same row is added or
// removed. It reads like a std::map of its cells in row order, each a pair of the
// address and the cell.
class CellStore {
public:
    using Entry = std::pair<CellAddress, Cell>;
    using Row = std::vector<Entry>;

    template <bool Const>
    class Iterator {
    public:
        using Rows = std::conditional_t<Const, const std::vector<Row>, std::vector<Row>>;
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const Entry&, Entry&>;
        using pointer = std::conditional_t<Const, const Entry*, Entry*>;

        Iterator() = default;
        Iterator(Rows* rows, std::size_t row) : m_rows(rows), m_row(row) { skipEmptyRows(); }
        operator Iterator<true>() const { return Iterator<true>(m_rows, m_row, m_at); }

        reference operator*() const { return (*m_rows)[m_row][m_at]; }
        pointer operator->() const { return &(*m_rows)[m_row][m_at]; }
        Iterator& operator++() {
            if (++m_at == (*m_rows)[m_row].size()) {
                m_at = 0;
                ++m_row;
                skipEmptyRows();
            }
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_row == b.m_row && a.m_at == b.m_at; }

    private:
        friend class Iterator<!Const>;
        Iterator(Rows* rows, std::size_t row, std::size_t at) : m_rows(rows), m_row(row), m_at(at) {}
        void skipEmptyRows() {
            while (m_row < m_rows->size() && (*m_rows)[m_row].empty()) ++m_row;
        }
        Rows* m_rows = nullptr;
        std::size_t m_row = 0;
        std::size_t m_at = 0;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    bool empty() const { return m_count == 0; }
    std::size_t size() const { return m_count; }
    // One past the last row that holds a cell (0 when there is none).
    int rowEnd() const { return static_cast<int>(m_rows.size()); }
    // The first row that holds a cell; rowEnd() when there is none.
    int firstRow() const;

    // A row's cells, by column; empty for a row without cells.
    std::span<const Entry> row(int r) const {
        return r >= 0 && r < rowEnd() ? std::span<const Entry>(m_rows[static_cast<std::size_t>(r)]) : std::span<const Entry>();
    }
    std::span<Entry> row(int r) {
        return r >= 0 && r < rowEnd() ? std::span<Entry>(m_rows[static_cast<std::size_t>(r)]) : std::span<Entry>();
    }

    const Cell* find(int row, int col) const {
        if (row < 0 || row >= rowEnd()) return nullptr;
        const Row& cells = m_rows[static_cast<std::size_t>(row)];
        auto it = positionIn(cells, col);
        return it != cells.end() && it->first.col == col ? &it->second : nullptr;
    }
    Cell* find(int row, int col) { return const_cast<Cell*>(std::as_const(*this).find(row, col)); }

    // The cell at (row, col); when absent it is added with the style newStyle()
    // gives, and `added` (when given) is set.
    template <typename NewStyle>
    Cell& obtain(int row, int col, NewStyle&& newStyle, bool* added = nullptr) {
        if (row < rowEnd()) {
            Row& cells = m_rows[static_cast<std::size_t>(row)];
            auto it = positionIn(cells, col);
            if (it != cells.end() && it->first.col == col) return it->second;
        }
        if (added) *added = true;
        return add(row, col, newStyle());
    }
    // The cell at the address, added with the default style when absent.
    Cell& operator[](const CellAddress& at) {
        return obtain(at.row, at.col, [] { return kDefaultStyleId; });
    }
    // Calls f(cell) for every cell of the area, row by row in order, adding the
    // missing ones with the style newStyle(row, col) gives.
    template <typename NewStyle, typename F>
    void obtainArea(const CellArea& area, NewStyle&& newStyle, F&& f) {
        if (area.lastRow >= rowEnd()) addRows(area.lastRow);
        for (int r = area.firstRow; r <= area.lastRow; ++r) {
            Row& cells = m_rows[static_cast<std::size_t>(r)];
            Entry* const end = cells.data() + cells.size();
            Entry* it = positionIn(cells.data(), end, area.firstCol);
            // The cells there already, as long as they follow each other.
            int col = area.firstCol;
            for (; col <= area.lastCol && it != end && it->first.col == col; ++col, ++it) f(it->second);
            for (; col <= area.lastCol; ++col) {
                auto at = it - cells.data();
                if (it == cells.data() + cells.size() || it->first.col != col) {
                    Cell cell;
                    cell.style = newStyle(r, col);
                    cells.emplace(cells.begin() + at, CellAddress{r, col}, std::move(cell));
                    ++m_count;
                }
                it = cells.data() + at;
                f(it->second);
                ++it;
            }
        }
    }
    // Removes the cells of columns firstCol..lastCol in rows firstRow..lastRow.
    void erase(int firstRow, int lastRow, int firstCol, int lastCol);
    void clear() {
        m_rows.clear();
        m_count = 0;
    }

    iterator begin() { return iterator(&m_rows, 0); }
    iterator end() { return iterator(&m_rows, m_rows.size()); }
    const_iterator begin() const { return const_iterator(&m_rows, 0); }
    const_iterator end() const { return const_iterator(&m_rows, m_rows.size()); }

private:
    Row& rowFor(int row) {
        if (row >= rowEnd()) addRows(row);
        return m_rows[static_cast<std::size_t>(row)];
    }
    void addRows(int upTo);
    // Adds the cell, which is not there yet.
    Cell& add(int row, int col, StyleId style);
    // Where the cell of column col is or would go in a row's cells.
    template <typename It>
    static It positionIn(It first, It last, int col) {
        if (first == last) return last;
        // Where a row's cells follow each other without gaps, the column gives the place.
        const auto guess = col - first->first.col;
        if (guess >= 0 && guess < last - first && first[guess].first.col == col) return first + guess;
        // Cells are mostly added after the last one of their row, and rows are short.
        if (std::prev(last)->first.col < col) return last;
        while (last - first > 8) {
            const It middle = first + (last - first) / 2;
            if (middle->first.col < col) first = middle + 1;
            else last = middle + 1;
        }
        while (first->first.col < col) ++first;
        return first;
    }
    static Row::iterator positionIn(Row& cells, int col) { return positionIn(cells.begin(), cells.end(), col); }
    static Row::const_iterator positionIn(const Row& cells, int col) {
        return positionIn(cells.begin(), cells.end(), col);
    }

    std::vector<Row> m_rows;  // by row; the last one, when any, is never empty
    std::size_t m_count = 0;
};

}  // namespace engine
