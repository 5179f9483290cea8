#pragma once

#include "generator/record_table.h"
#include "records/commission_record.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

// A table's rows taken into the record list by Add Record's rules: a name is
// there once (a row of a listed name updates that row), it is not empty and
// holds nothing the stored list or a file could not carry, a total is empty or
// a number by the locale's rules, and the commission is worked out from the
// percentage as typing works it out. Widget-free: the main window's import, its
// paste and the command line's --records all go through it.
namespace records {

// Which columns hold the names and the totals (0-based), and whether the first
// row holds the columns' titles rather than a record.
struct ImportColumns {
    int name = 0;
    int total = 1;
    bool firstRowIsHeader = false;
    friend bool operator==(const ImportColumns&, const ImportColumns&) = default;
};

// The columns a table most likely uses: a commission sheet's own; else those
// titled as a name ("Saleperson", "Name") and a total ("Total Sales Amount",
// "Total", "Sales") in the first row, in any case; else the first column of
// text and the first of numbers. `found` is false when the table shows no
// column of names and one of numbers; the columns are then the first two.
struct ColumnGuess {
    ImportColumns columns;
    bool found = false;
};
ColumnGuess guessColumns(const generator::RecordTable& table, const QLocale& locale = QLocale());

// A row that is not taken, with what is wrong: the line (or sheet row) and the
// column (1-based) it names.
struct RefusedLine {
    int line = 0;
    int column = 0;
    QString reason;
    friend bool operator==(const RefusedLine&, const RefusedLine&) = default;
};

// What an import would do to the list.
struct ImportPlan {
    QList<CommissionRecord> added;                        // new rows, in the table's order
    std::vector<std::pair<int, CommissionRecord>> updated;  // listed rows (1-based position) as they become
    std::vector<RefusedLine> refused;                     // in the table's order
    int resultingCount = 0;                               // rows the list would hold
    int firstLineTooMany = 0;                             // the row that would not fit; 0 when all fit

    bool fits() const { return firstLineTooMany == 0; }
};

// The import of the table's rows into a list holding `listed`, at the percentage.
ImportPlan planImport(const generator::RecordTable& table, const ImportColumns& columns,
                      const QList<CommissionRecord>& listed, const QString& percentage,
                      const QLocale& locale = QLocale());

// The commission a typed total gives at a typed percentage, as the entry fields
// work it out: none when either is no number or the product has no text.
std::optional<QString> typedCommission(const QString& total, const QString& percentage,
                                       const QLocale& locale = QLocale());

// "\"12x\" is not a number (numbers are read by the rules of the locale en_US)".
QString notANumberMessage(const QString& text, const QLocale& locale);

}  // namespace records
