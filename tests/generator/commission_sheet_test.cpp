// The commission sheet as the layout leaves it: contents, values, formats,
// geometry and page setup.
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"
#include "generator/page_setup.h"
#include "generator/palette.h"
#include "listed_records.h"
#include "sheet_dump.h"
#include "support/isolated_environment.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace generator;
using engine::CellValue;

namespace {

class CommissionSheet : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        app->Workbooks().Add();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    void build(const RecordSource& records) {
        writeCommissionSheet(*app, records);
        app->ActiveWorkbook().Calculate();
    }
    const engine::SheetData& sheet() const { return app->ActiveSheet().Data(); }
    QString dump() const { return dumpSheet(app->ActiveWorkbook().Data(), sheet()); }
    QString formula(const QString& ref) const { return app->Range(ref).FormulaR1C1(); }
    CellValue value(const QString& ref) const { return app->Range(ref).Value(); }
    double number(const QString& ref) const {
        const CellValue v = value(ref);
        EXPECT_TRUE(std::holds_alternative<double>(v)) << ref.toStdString();
        return std::holds_alternative<double>(v) ? std::get<double>(v) : -1;
    }
    QString printArea() const { return app->ActiveSheet().PageSetup().PrintArea(); }

    IsolatedEnvironment env;
    std::unique_ptr<engine::Application> app = engine::createApplication();
};

// Everything the sheet of the three sample records shows and prints.
const char* const kSampleSheet =
    "B1 'Sales Commission Calculator' font=Garamond/24/B/10 fill=2 align=C/C wrap fmt=General\n"
    "C1 empty font=Garamond/24/B/10 fill=2 align=C/C wrap fmt=General\n"
    "D1 empty font=Garamond/24/B/10 fill=2 align=C/C wrap fmt=General\n"
    "B3 'Commission Percentage' font=Garamond/11/10 fill=2 align=C/C wrap fmt=General\n"
    "C3 'Total sales' font=Garamond/11/10 fill=2 align=C/C wrap fmt=General\n"
    "D3 'Total commission paid' font=Garamond/11/10 fill=2 align=C/C wrap fmt=General\n"
    "B4 0.1 font=Century Gothic/9/auto fill=2 align=C/C wrap fmt=0.0% border=L:thin/15,T:thin/15,B:thin/15,R:thin/15\n"
    "C4 =R[+6]C -> 25100 font=Century Gothic/9/auto fill=35 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,T:thin/15,B:thin/15,R:thin/15\n"
    "D4 =R[+6]C -> 2510 font=Century Gothic/9/auto fill=35 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,T:thin/15,B:thin/15,R:thin/15\n"
    "B6 'SalePerson' font=Garamond/11/B/2 fill=10 align=C/C wrap fmt=General border=L:medium/15,T:medium/15,B:medium/15,R:thin/15\n"
    "C6 'Total Sales Amount' font=Garamond/11/B/2 fill=10 align=C/C wrap fmt=General border=L:thin/15,T:medium/15,B:medium/15,R:thin/15\n"
    "D6 'Commission' font=Garamond/11/B/2 fill=10 align=C/C wrap fmt=General border=L:thin/15,T:medium/15,B:medium/15,R:medium/15\n"
    "B7 'Aldo Fennick' font=Century Gothic/9/auto fill=2 align=C/C wrap fmt=General border=L:medium/15,R:thin/15\n"
    "C7 5600 font=Century Gothic/9/auto fill=2 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,R:thin/15\n"
    "D7 =RC[-1]*R[-3]C[-2] -> 560 font=Century Gothic/9/auto fill=35 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,R:medium/15\n"
    "B8 'John Smith' font=Century Gothic/9/auto fill=15 align=C/C wrap fmt=General border=L:medium/15,R:thin/15\n"
    "C8 8400 font=Century Gothic/9/auto fill=15 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,R:thin/15\n"
    "D8 =RC[-1]*R[-4]C[-2] -> 840 font=Century Gothic/9/auto fill=35 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,R:medium/15\n"
    "B9 'Zodo Duvevado' font=Century Gothic/9/auto fill=2 align=C/C wrap fmt=General border=L:medium/15,B:medium/15,R:thin/15\n"
    "C9 11100 font=Century Gothic/9/auto fill=2 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,B:medium/15,R:thin/15\n"
    "D9 =RC[-1]*R[-5]C[-2] -> 1110 font=Century Gothic/9/auto fill=35 align=C/C wrap fmt=$#,##0.00 border=L:thin/15,B:medium/15,R:medium/15\n"
    "B10 'Totals' font=Garamond/11/B/2 fill=10 align=C/C wrap fmt=General\n"
    "C10 =SUM(R[-3]C:R[-1]C) -> 25100 font=Century Gothic/9/B/auto fill=35 align=C/C wrap fmt=$#,##0.00\n"
    "D10 =RC[-1]*R[-6]C[-2] -> 2510 font=Century Gothic/9/B/auto fill=35 align=C/C wrap fmt=$#,##0.00\n"
    "default font=Arial/10/auto fill=2 align=G/C wrap fmt=General\n"
    "merges B1:D1\n"
    "rows 1=38.25 2=13.5 3=15 4=16.5 5=6.75 6=19.5 7=15 8=15 9=15 (others 12.75)\n"
    "columns A=3.71 B=28 C=28 D=28 E=8.43 F=8.43 G=8.43 H=8.43 I=8.43 J=8.43 (others 8.43)\n"
    "page area=A1:I10 margins in=0.7/0.7/0.5/0.5 header/footer=0/0 comments=none orientation=landscape paper=9 zoom=fit fit=1x1";

TEST_F(CommissionSheet, ThreeSampleRecords) {
    build(RecordList::sample());
    EXPECT_EQ(dump(), QString::fromUtf8(kSampleSheet));
    EXPECT_DOUBLE_EQ(number("D7"), 560);
    EXPECT_DOUBLE_EQ(number("D8"), 840);
    EXPECT_DOUBLE_EQ(number("D9"), 1110);
    EXPECT_DOUBLE_EQ(number("C10"), 25100);
    EXPECT_DOUBLE_EQ(number("D10"), 2510);
    EXPECT_EQ(app->Range("D7").Formula(), "=C7*B4");
    EXPECT_EQ(app->Range("C4").Formula(), "=C10");
    EXPECT_EQ(app->ActiveWorkbook().Colors(10), 9600340u);  // the program's palette
    EXPECT_EQ(app->ActiveWorkbook().Colors(35), 16706794u);
    EXPECT_EQ(app->Selection().Address(), "$C$15");
    EXPECT_EQ(printArea(), "$A$1:$I$10");
}

TEST_F(CommissionSheet, OneRecord) {
    build(RecordList({{"Aldo Fennick", "5600"}}, "10"));
    EXPECT_EQ(formula("D7"), "=RC[-1]*R[-3]C[-2]");
    EXPECT_EQ(formula("B8"), "Totals");
    EXPECT_EQ(formula("C8"), "=SUM(R[-1]C:R[-1]C)");
    EXPECT_EQ(formula("D8"), "=RC[-1]*R[-4]C[-2]");
    EXPECT_EQ(formula("C4"), "=R[+4]C");
    EXPECT_EQ(formula("D4"), "=R[+4]C");
    EXPECT_DOUBLE_EQ(number("C4"), 5600);
    EXPECT_DOUBLE_EQ(number("D4"), 560);
    EXPECT_EQ(printArea(), "$A$1:$I$8");
    EXPECT_EQ(app->ActiveSheet().UsedRange().Address(), "$B$1:$D$8");
    EXPECT_EQ(sheet().rowHeight(6), 15);
    EXPECT_EQ(sheet().rowHeight(7), engine::SheetData::kDefaultRowHeight);
}

TEST_F(CommissionSheet, FortyRecords) {
    build(numberedRecords(40));
    for (int i = 1; i <= 40; ++i) {
        const int r = i + 6;
        const QString row = QString::number(r);
        EXPECT_EQ(formula("B" + row), QStringLiteral("Person %1").arg(i));
        EXPECT_EQ(formula("D" + row), QStringLiteral("=RC[-1]*R[%1]C[-2]").arg(-(i + 2)));
        EXPECT_DOUBLE_EQ(number("D" + row), 10.0 * i);
        EXPECT_EQ(sheet().rowHeight(r - 1), 15);
        const auto& styles = app->ActiveWorkbook().Data().styles;
        EXPECT_EQ(styles.style(sheet().effectiveStyle(r - 1, 2)).fillColorIndex, i % 2 == 0 ? 15 : 2) << r;
        EXPECT_EQ(styles.style(sheet().effectiveStyle(r - 1, 3)).fillColorIndex, 35) << r;
    }
    EXPECT_EQ(formula("C47"), "=SUM(R[-40]C:R[-1]C)");
    EXPECT_EQ(formula("D47"), "=RC[-1]*R[-43]C[-2]");
    EXPECT_EQ(formula("C4"), "=R[+43]C");
    EXPECT_DOUBLE_EQ(number("C47"), 82000);
    EXPECT_DOUBLE_EQ(number("D47"), 8200);
    EXPECT_DOUBLE_EQ(number("D4"), 8200);
    // The record block's borders: medium sides and bottom, thin lines between B, C and D.
    const auto border = [&](int row, int col) { return dumpCell(app->ActiveWorkbook().Data(), sheet(), row, col).section(" border=", 1); };
    EXPECT_EQ(border(6, 1), "L:medium/15,R:thin/15");
    EXPECT_EQ(border(25, 2), "L:thin/15,R:thin/15");
    EXPECT_EQ(border(30, 3), "L:thin/15,R:medium/15");
    EXPECT_EQ(border(45, 1), "L:medium/15,B:medium/15,R:thin/15");
    EXPECT_EQ(border(45, 3), "L:thin/15,B:medium/15,R:medium/15");
    EXPECT_EQ(border(46, 2), "");
    EXPECT_EQ(printArea(), "$A$1:$I$47");
    EXPECT_EQ(app->ActiveSheet().UsedRange().Address(), "$B$1:$D$47");
    EXPECT_EQ(sheet().rowHeight(46), engine::SheetData::kDefaultRowHeight);
}

// Without records the totals are zero rather than a sum over the totals cell.
TEST_F(CommissionSheet, NoRecords) {
    build(RecordList({}, "10"));
    EXPECT_EQ(formula("B6"), "SalePerson");
    EXPECT_EQ(formula("B1"), "Sales Commission Calculator");
    EXPECT_EQ(formula("B7"), "Totals");
    EXPECT_EQ(value("C7"), CellValue(0.0));
    EXPECT_EQ(formula("C7"), "0");
    EXPECT_EQ(formula("D7"), "=RC[-1]*R[-3]C[-2]");
    EXPECT_EQ(formula("C4"), "=R[+3]C");
    EXPECT_EQ(value("D7"), CellValue(0.0));
    EXPECT_EQ(value("C4"), CellValue(0.0));
    EXPECT_EQ(value("D4"), CellValue(0.0));
    EXPECT_EQ(printArea(), "$A$1:$I$7");
    // The record block's borders ran over the reversed area $B7:$D6.
    EXPECT_EQ(dumpCell(app->ActiveWorkbook().Data(), sheet(), 6, 3),
              "D7 =RC[-1]*R[-3]C[-2] -> 0 font=Century Gothic/9/B/auto fill=35 align=C/C wrap fmt=$#,##0.00 "
              "border=B:medium/15,R:medium/15");
    for (int row = 6; row <= 65535; row += 9000) EXPECT_EQ(sheet().rowHeight(row), engine::SheetData::kDefaultRowHeight);
}

// A name is data: whatever it reads as, the cell holds it as text, exactly.
TEST_F(CommissionSheet, NamesAreWrittenAsText) {
    const QStringList names{"=1+1", "=Smith", "=HYPERLINK(1)", "=SUM(C7:C9)", "00123", "TRUE",
                            "10%", "#N/A", "'quoted", "1/2", " 12 "};
    std::vector<RecordList::Record> rows;
    for (const QString& name : names) rows.push_back({name, "100"});
    build(RecordList(rows, "10"));
    for (int i = 0; i < names.size(); ++i) {
        const QString cell = QStringLiteral("B%1").arg(7 + i);
        SCOPED_TRACE(cell.toStdString());
        EXPECT_EQ(value(cell), CellValue(names[i]));
        EXPECT_EQ(formula(cell), names[i]);
    }
    // The layout went on to its end.
    EXPECT_EQ(value("B18"), CellValue(QStringLiteral("Totals")));
}

TEST_F(CommissionSheet, EmptyPercentageLeavesTheTextPercentSign) {
    build(numberedRecords(1, ""));
    EXPECT_EQ(value("B4"), CellValue(QStringLiteral("%")));
    EXPECT_EQ(value("D7"), CellValue(engine::ErrorValue::Value));
}

TEST_F(CommissionSheet, FractionalPercentage) {
    build(RecordList({{"A", "1234.56"}}, "7.5"));
    EXPECT_DOUBLE_EQ(number("B4"), 0.075);
    EXPECT_NEAR(number("D7"), 92.592, 1e-9);
}

TEST_F(CommissionSheet, ClearsWhatTheSheetHeldBefore) {
    app->Range("F20").SetFormulaR1C1("left over");
    app->Range("F20").Font().SetBold(true);
    build(RecordList::sample());
    EXPECT_EQ(sheet().cell(19, 5), nullptr);
    EXPECT_EQ(dump(), QString::fromUtf8(kSampleSheet));
}

TEST_F(CommissionSheet, AfterTheInstanceQuitTheLayoutFails) {
    app->Quit();
    EXPECT_THROW(writeCommissionSheet(*app, RecordList::sample()), std::exception);
}

}  // namespace
