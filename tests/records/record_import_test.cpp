// The import rules: which columns and header a table is guessed to have, and
// what each row does to the list by Add Record's rules.
#include "records/record_import.h"

#include <QLocale>
#include <gtest/gtest.h>

using generator::RecordTable;
using generator::TableCell;
using records::ImportColumns;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

TableCell text(const char* s) { return {QString::fromUtf8(s), TableCell::Kind::Text}; }
TableCell number(const char* s) { return {QString::fromLatin1(s), TableCell::Kind::Number}; }
const TableCell kEmpty{};

RecordTable tableOf(std::vector<std::vector<TableCell>> rows) {
    RecordTable table;
    int line = 0;
    for (auto& cells : rows) {
        table.columnCount = std::max(table.columnCount, int(cells.size()));
        table.rows.push_back({++line, std::move(cells)});
    }
    return table;
}

}  // namespace

TEST(RecordImport, GuessesColumnsAndHeader) {
    struct Case {
        const char* what;
        RecordTable table;
        ImportColumns expected;
        bool found;
    };
    RecordTable commissionSheet = tableOf({{kEmpty, text("SalePerson"), text("Total Sales Amount")}, {kEmpty, text("A"), number("1")}});
    commissionSheet.commissionSheet = true;
    const Case cases[] = {
        {"titles in any case, with a unit", tableOf({{text("Region"), text("TOTAL SALES AMOUNT ($)"), text("salesperson")}, {text("N"), number("1"), text("A")}}), {2, 1, true}, true},
        {"first text and first number column, header by its digitless total", tableOf({{text("Id"), text("Who"), text("Amount")}, {text("7"), text("Ann"), text("5")}}), {1, 0, true}, true},
        {"no header: the first row is data", tableOf({{text("Ann"), text("5")}, {text("Bob"), text("")}}), {0, 1, false}, true},
        {"a mistyped amount is no header", tableOf({{text("Aldo"), text("56O0")}, {text("Bob"), text("5")}}), {0, 1, false}, true},
        {"a commission sheet's own columns", commissionSheet, {1, 2, true}, true},
        {"no column of numbers", tableOf({{text("Ann"), text("North")}, {text("Bob"), text("South")}}), {0, 1, true}, false},
    };
    for (const Case& c : cases) {
        const records::ColumnGuess guess = records::guessColumns(c.table, kEnglish);
        EXPECT_EQ(guess.columns, c.expected) << c.what;
        EXPECT_EQ(guess.found, c.found) << c.what;
    }
}

TEST(RecordImport, TakesEachRowByAddRecordsRules) {
    const QList<records::CommissionRecord> listed = {{"Ann", "1", "0.1"}, {"Bob", "2", "0.2"}};
    const RecordTable table = tableOf({
        {text("Bob"), number("1,234.5")},     // a listed name updates its row
        {text("Cy"), text("")},               // an empty total
        {text("  "), text("3")},              // no name
        {text("Dee||SEP1||"), text("3")},     // the stored list could not hold it
        {text("E\x07"), text("3")},           // a character files cannot carry
        {text("Fay"), {"TRUE", TableCell::Kind::Other}},
        {text("Gus")},                        // a short line
        {text("Cy"), text("4")},              // twice in the table
        {text("Hal"), text("-2e3")},
    });
    const records::ImportPlan plan = records::planImport(table, {0, 1, false}, listed, QStringLiteral("7.5"), kEnglish);
    EXPECT_EQ(plan.updated, (std::vector<std::pair<int, records::CommissionRecord>>{{2, {"Bob", "1,234.5", "92.5875"}}}));
    EXPECT_EQ(plan.added, (QList<records::CommissionRecord>{{"Cy", "", ""}, {"Hal", "-2e3", "-150"}}));
    EXPECT_EQ(plan.resultingCount, 4);
    EXPECT_TRUE(plan.fits());
    const std::vector<records::RefusedLine> refused = {
        {3, 1, "the salesperson's name is missing"},
        {4, 1, "a name may not contain \"||SEP1||\" or \"||SEP2||\": the record list could not store it"},
        {5, 1, "the name holds U+0007 (a control character) at character 2, which workbook files cannot carry"},
        {6, 2, "\"TRUE\" is not a number (numbers are read by the rules of the locale en_US)"},
        {7, 2, "the total sales amount is missing"},
        {8, 1, "\"Cy\" is listed twice (first on line 2); the list holds each name once"},
    };
    EXPECT_EQ(plan.refused, refused);

    // A percentage of zero gives "0", one that is no number no commission.
    EXPECT_EQ(records::typedCommission("5600", "0", kEnglish), QStringLiteral("0"));
    EXPECT_EQ(records::typedCommission("5600", "x", kEnglish), std::nullopt);
}
