#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <variant>

// Plain value types of the spreadsheet engine: addresses, areas, values.
namespace engine {

// Limits of the .xls format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
inline constexpr int kMaxTextLength = 32767;

// 0-based row and column.
struct CellAddress {
    int row = 0;
    int col = 0;
    friend bool operator==(const CellAddress&, const CellAddress&) = default;
    friend auto operator<=>(const CellAddress&, const CellAddress&) = default;
};

// A rectangle of cells, 0-based and inclusive; always normalised (first <= last).
struct CellArea {
    int firstRow = 0;
    int firstCol = 0;
    int lastRow = 0;
    int lastCol = 0;
    friend bool operator==(const CellArea&, const CellArea&) = default;

    int rowCount() const { return lastRow - firstRow + 1; }
    int columnCount() const { return lastCol - firstCol + 1; }
    bool contains(int row, int col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
    bool isWholeSheet() const {
        return firstRow == 0 && lastRow == kMaxRows - 1 && firstCol == 0 && lastCol == kMaxColumns - 1;
    }
    bool isWholeRows() const { return firstCol == 0 && lastCol == kMaxColumns - 1; }
    bool isWholeColumns() const { return firstRow == 0 && lastRow == kMaxRows - 1; }
};

// The area with the two cells as opposite corners, whichever way round they are given.
inline CellArea areaBetween(int row1, int col1, int row2, int col2) {
    return CellArea{std::min(row1, row2), std::min(col1, col2), std::max(row1, row2), std::max(col1, col2)};
}

// The smallest area holding both.
inline CellArea boundingArea(const CellArea& a, const CellArea& b) {
    return CellArea{std::min(a.firstRow, b.firstRow), std::min(a.firstCol, b.firstCol), std::max(a.lastRow, b.lastRow),
                    std::max(a.lastCol, b.lastCol)};
}

// Spreadsheet error values, by their BIFF8 codes.
enum class ErrorValue : std::uint8_t {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A,
};

QString errorText(ErrorValue e);  // "#DIV/0!" and so on

// A cell's value (a constant, or a formula's result): empty, number, text, boolean
// or error.
using CellValue = std::variant<std::monostate, double, QString, bool, ErrorValue>;

inline bool isEmpty(const CellValue& v) { return std::holds_alternative<std::monostate>(v); }

}  // namespace engine
