#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace generator {

// One cell of a table read for the record list: its text as shown under the
// user's locale (numbers with the locale's decimal separator) and what it held.
struct TableCell {
    enum class Kind : std::uint8_t {
        Empty,
        Text,    // a text (every field of a text file is one)
        Number,  // a workbook's number
        Other,   // a workbook's truth value or error
    };
    QString text;
    Kind kind = Kind::Empty;
};

// A row of cells, with the line (text files) or row number (sheets) it was read
// from, 1-based, which messages name.
struct TableRow {
    int line = 0;
    std::vector<TableCell> cells;
};

// A table of cells read from a text file, the clipboard or a sheet of a
// workbook: what the record list is imported from.
struct RecordTable {
    QString sheetName;                  // empty for text
    bool columnsHaveLetters = false;    // a sheet's columns are named A, B, ...
    std::vector<TableRow> rows;         // wholly empty rows left out
    int columnCount = 0;                // the longest row's length
    // A commission sheet of this program: its rows are the header row and the
    // records, in the sheet's columns, and it offers its percentage (when a number).
    bool commissionSheet = false;
    std::optional<QString> percentage;
};

}  // namespace generator
