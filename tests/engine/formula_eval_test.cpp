// Evaluating formulas through a small map of cells: arithmetic and its errors,
// functions over ranges, logic, text, rounding and the General number text.
#include "engine/formula/format_general.h"
#include "engine/formula/formula.h"
#include "support/qt_gtest_printers.h"
#include "support/isolated_environment.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using namespace engine;
using engine::formula::EvalContext;
using engine::formula::Formula;
using engine::formula::ReferenceStyle;
using engine::formula::formatGeneral;

namespace {

// Cells by their A1 name; records which cells the formula asked for.
class MapContext : public EvalContext {
public:
    void set(const char* a1, CellValue v) {
        const QString name = QString::fromLatin1(a1);
        const int col = name[0].unicode() - u'A';
        const int row = name.mid(1).toInt() - 1;
        cells[{row, col}] = std::move(v);
    }
    CellValue valueAt(int row, int col) override {
        asked.insert({row, col});
        const auto it = cells.find({row, col});
        return it == cells.end() ? CellValue() : it->second;
    }
    std::map<std::pair<int, int>, CellValue> cells;
    std::set<std::pair<int, int>> asked;
};

constexpr CellAddress kD7{6, 3};

class FormulaEvalTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;
    MapContext cells;

    CellValue eval(const QString& text, CellAddress at = kD7) {
        return Formula::parse(text, ReferenceStyle::A1, at)->evaluate(at, cells);
    }
    CellValue eval(const char* text, CellAddress at = kD7) { return eval(QString::fromUtf8(text), at); }
};

CellValue text(const char* s) { return QString::fromUtf8(s); }

TEST_F(FormulaEvalTest, CommissionLayoutFormulas) {
    cells.set("B4", 0.1);
    cells.set("C7", 5600.0);
    cells.set("C8", 1234.56);
    const auto commission = Formula::parse(QStringLiteral("=RC[-1]*R[-3]C[-2]"), ReferenceStyle::R1C1, kD7);
    EXPECT_EQ(commission->evaluate(kD7, cells), CellValue(560.0));
    const CellAddress c9{8, 2};
    EXPECT_EQ(Formula::parse(QStringLiteral("=SUM(R[-2]C:R[-1]C)"), ReferenceStyle::R1C1, c9)->evaluate(c9, cells),
              CellValue(5600.0 + 1234.56));
}

TEST_F(FormulaEvalTest, ArithmeticAndPrecedence) {
    EXPECT_EQ(eval("=1+2*3"), CellValue(7.0));
    EXPECT_EQ(eval("=(1+2)*3"), CellValue(9.0));
    EXPECT_EQ(eval("=-2^2"), CellValue(4.0));
    EXPECT_EQ(eval("=0-2^2"), CellValue(-4.0));
    EXPECT_EQ(eval("=2^3^2"), CellValue(64.0));
    EXPECT_EQ(eval("=10%"), CellValue(0.1));
    EXPECT_DOUBLE_EQ(std::get<double>(eval("=200*5%%")), 0.1);
    EXPECT_EQ(eval("=+-+3"), CellValue(-3.0));
    EXPECT_EQ(eval("=7/2"), CellValue(3.5));
    EXPECT_EQ(eval("=1<2"), CellValue(true));
}

TEST_F(FormulaEvalTest, NumericErrors) {
    EXPECT_EQ(eval("=1/0"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=1/A1"), CellValue(ErrorValue::Div0));  // empty is 0
    EXPECT_EQ(eval("=0^0"), CellValue(ErrorValue::Num));
    EXPECT_EQ(eval("=0^-1"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=(-8)^0.5"), CellValue(ErrorValue::Num));
    EXPECT_EQ(eval("=1E308*10"), CellValue(ErrorValue::Num));
}

TEST_F(FormulaEvalTest, EmptyCellsAreZeroOrEmptyText) {
    EXPECT_EQ(eval("=A1+1"), CellValue(1.0));
    EXPECT_EQ(eval("=A1"), CellValue(0.0));
    EXPECT_EQ(eval("=A1&\"x\""), text("x"));
    EXPECT_EQ(eval("=A1=0"), CellValue(true));
    EXPECT_EQ(eval("=A1=\"\""), CellValue(true));
    EXPECT_EQ(eval("=A1=FALSE"), CellValue(true));
}

TEST_F(FormulaEvalTest, TextInArithmetic) {
    cells.set("A1", text("abc"));
    cells.set("A2", text("5"));
    EXPECT_EQ(eval("=A1+1"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=-A1"), CellValue(ErrorValue::Value));
    // Text that reads as a number is converted, with the same rules everywhere.
    EXPECT_EQ(eval("=A2+1"), CellValue(6.0));
    EXPECT_EQ(eval("=\"1,000\"+1"), CellValue(1001.0));
    EXPECT_EQ(eval("=\" 2.5 \"*2"), CellValue(5.0));
    EXPECT_EQ(eval("=\"10%\"*2"), CellValue(0.2));
    EXPECT_EQ(eval("=\"$5\"+0"), CellValue(5.0));
    EXPECT_EQ(eval("=\"2024-03-01\"+0"), CellValue(45352.0));
    EXPECT_EQ(eval("=\"TRUE\"+0"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=\"0x10\"+0"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=TRUE+1"), CellValue(2.0));
}

TEST_F(FormulaEvalTest, ErrorsPropagate) {
    cells.set("A1", ErrorValue::Div0);
    cells.set("A2", ErrorValue::NA);
    EXPECT_EQ(eval("=A1+1"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=A1&\"x\""), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=A1=A1"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=A2+A1"), CellValue(ErrorValue::NA));  // the left one first
    EXPECT_EQ(eval("=ROUND(A1,2)"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=SUM(A1:A2)"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=#N/A"), CellValue(ErrorValue::NA));
    EXPECT_EQ(eval("=UPPER(A2)"), CellValue(ErrorValue::NA));
}

TEST_F(FormulaEvalTest, AggregatesSkipTextLogicalAndEmptyCellsInRanges) {
    cells.set("A1", 1.0);
    cells.set("A2", text("text"));
    // A3 empty
    cells.set("A4", true);
    cells.set("A5", 2.0);
    cells.set("A6", text("4"));
    EXPECT_EQ(eval("=SUM(A1:A6)"), CellValue(3.0));
    EXPECT_EQ(eval("=AVERAGE(A1:A6)"), CellValue(1.5));
    EXPECT_EQ(eval("=MIN(A1:A6)"), CellValue(1.0));
    EXPECT_EQ(eval("=MAX(A1:A6)"), CellValue(2.0));
    EXPECT_EQ(eval("=PRODUCT(A1:A6,3)"), CellValue(6.0));
    EXPECT_EQ(eval("=COUNT(A1:A6)"), CellValue(2.0));
    EXPECT_EQ(eval("=COUNTA(A1:A6)"), CellValue(5.0));
    // A single cell given as a reference is skipped like a range.
    EXPECT_EQ(eval("=SUM(A2,A5)"), CellValue(2.0));
    // Values given directly are converted.
    EXPECT_EQ(eval("=SUM(A1:A6,\"4\",TRUE)"), CellValue(8.0));
    EXPECT_EQ(eval("=SUM(1,\"x\")"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=COUNT(1,\"2\",\"x\",TRUE,#N/A)"), CellValue(3.0));
    EXPECT_EQ(eval("=COUNTA(1,\"\",#N/A)"), CellValue(3.0));
    // Nothing to count.
    EXPECT_EQ(eval("=AVERAGE(A2:A3)"), CellValue(ErrorValue::Div0));
    EXPECT_EQ(eval("=MIN(A2:A3)"), CellValue(0.0));
    EXPECT_EQ(eval("=SUM(A3)"), CellValue(0.0));
}

TEST_F(FormulaEvalTest, IfTakesOnlyItsBranch) {
    cells.set("A1", 5.0);
    EXPECT_EQ(eval("=IF(A1>0,\"pos\",\"neg\")"), text("pos"));
    EXPECT_EQ(eval("=IF(A1>9,\"pos\",\"neg\")"), text("neg"));
    EXPECT_EQ(eval("=IF(FALSE,1)"), CellValue(false));
    EXPECT_EQ(eval("=IF(TRUE,,1)"), CellValue(0.0));
    EXPECT_EQ(eval("=IF(\"maybe\",1,2)"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=IF(\"true\",1,2)"), CellValue(1.0));
    EXPECT_EQ(eval("=IF(TRUE,1,1/0)"), CellValue(1.0));

    cells.asked.clear();
    eval("=IF(TRUE,B1,B2)");
    EXPECT_TRUE(cells.asked.count({0, 1}));
    EXPECT_FALSE(cells.asked.count({1, 1}));
    // A reference chosen by IF stays a reference for SUM.
    cells.set("B1", 2.0);
    cells.set("B2", 3.0);
    EXPECT_EQ(eval("=SUM(IF(TRUE,B1:B2,0))"), CellValue(5.0));
}

TEST_F(FormulaEvalTest, AndOrNot) {
    cells.set("A1", text("x"));
    EXPECT_EQ(eval("=AND(TRUE,1)"), CellValue(true));
    EXPECT_EQ(eval("=AND(TRUE,0)"), CellValue(false));
    EXPECT_EQ(eval("=OR(FALSE,0,2)"), CellValue(true));
    EXPECT_EQ(eval("=OR(FALSE,A1:A2)"), CellValue(false));  // text and empty skipped
    EXPECT_EQ(eval("=AND(A1:A2)"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=OR(\"x\")"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=AND(TRUE,#NUM!)"), CellValue(ErrorValue::Num));
    EXPECT_EQ(eval("=NOT(0)"), CellValue(true));
    EXPECT_EQ(eval("=NOT(\"FALSE\")"), CellValue(true));
}

TEST_F(FormulaEvalTest, ComparisonsIgnoreCaseAndOrderTypes) {
    EXPECT_EQ(eval("=\"abc\"=\"ABC\""), CellValue(true));
    EXPECT_EQ(eval("=\"a\"<\"B\""), CellValue(true));
    EXPECT_EQ(eval("=\"b\">=\"B\""), CellValue(true));
    EXPECT_EQ(eval("=\"5\"=5"), CellValue(false));
    EXPECT_EQ(eval("=1E+300<\"a\""), CellValue(true));
    EXPECT_EQ(eval("=\"zzz\"<FALSE"), CellValue(true));
    EXPECT_EQ(eval("=FALSE<TRUE"), CellValue(true));
    EXPECT_EQ(eval("=2<>2"), CellValue(false));
}

TEST_F(FormulaEvalTest, TextOfNumbersUsesGeneralFormat) {
    EXPECT_EQ(eval("=1/3&\"\""), text("0.333333333333333"));
    EXPECT_EQ(eval("=0.1+0.2&\"\""), text("0.3"));
    EXPECT_EQ(eval("=\"Total: \"&5600"), text("Total: 5600"));
    EXPECT_EQ(eval("=1E+20&\"\""), text("1E+20"));
    EXPECT_EQ(eval("=TRUE&1"), text("TRUE1"));
    EXPECT_EQ(eval("=CONCATENATE(\"a\",1.5,FALSE)"), text("a1.5FALSE"));
    EXPECT_EQ(eval("=LEN(12.5)"), CellValue(4.0));
}

TEST_F(FormulaEvalTest, TextFunctions) {
    cells.set("A1", QString(20000, u'x'));
    EXPECT_EQ(eval("=UPPER(\"straße\")"), text("STRASSE"));
    EXPECT_EQ(eval("=LOWER(\"ABC\")"), text("abc"));
    EXPECT_EQ(eval("=TRIM(\"  a   b  \")"), text("a b"));
    EXPECT_EQ(eval("=LEN(\"\")"), CellValue(0.0));
    EXPECT_EQ(eval("=LEN(A1)"), CellValue(20000.0));
    // Text longer than a cell holds is an error, not a truncation.
    EXPECT_EQ(eval("=A1&A1"), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=CONCATENATE(A1,A1)"), CellValue(ErrorValue::Value));
}

TEST_F(FormulaEvalTest, RoundingIsDecimalAndHalfAwayFromZero) {
    EXPECT_EQ(eval("=ROUND(2.5,0)"), CellValue(3.0));
    EXPECT_EQ(eval("=ROUND(-2.5,0)"), CellValue(-3.0));
    EXPECT_EQ(eval("=ROUND(0.5,0)"), CellValue(1.0));
    EXPECT_EQ(eval("=ROUND(2.675,2)"), CellValue(2.68));
    EXPECT_EQ(eval("=ROUND(1.005,2)"), CellValue(1.01));
    EXPECT_EQ(eval("=ROUND(-0.05,1)"), CellValue(-0.1));
    EXPECT_EQ(eval("=ROUND(1234.5678,-2)"), CellValue(1200.0));
    EXPECT_EQ(eval("=ROUND(49,-2)"), CellValue(0.0));
    EXPECT_EQ(eval("=ROUND(1.5,0.9)"), CellValue(2.0));
    EXPECT_EQ(eval("=ROUND(1/3,20)"), CellValue(1.0 / 3));
    EXPECT_EQ(eval("=ROUND(124.99875,2)"), CellValue(125.0));
    EXPECT_EQ(eval("=ROUNDUP(1.201,2)"), CellValue(1.21));
    EXPECT_EQ(eval("=ROUNDUP(-1.201,2)"), CellValue(-1.21));
    EXPECT_EQ(eval("=ROUNDUP(0.001,0)"), CellValue(1.0));
    EXPECT_EQ(eval("=ROUNDDOWN(1.209,2)"), CellValue(1.2));
    EXPECT_EQ(eval("=ROUNDDOWN(-1.209,2)"), CellValue(-1.2));
    EXPECT_EQ(eval("=ROUND(\"x\",2)"), CellValue(ErrorValue::Value));
}

TEST_F(FormulaEvalTest, OtherNumberFunctions) {
    EXPECT_EQ(eval("=ABS(-3)"), CellValue(3.0));
    EXPECT_EQ(eval("=INT(-1.5)"), CellValue(-2.0));
    EXPECT_EQ(eval("=INT(1.9)"), CellValue(1.0));
    EXPECT_EQ(eval("=MOD(-3,2)"), CellValue(1.0));
    EXPECT_EQ(eval("=MOD(3,-2)"), CellValue(-1.0));
    EXPECT_EQ(eval("=MOD(6,3)"), CellValue(0.0));
    EXPECT_EQ(eval("=MOD(1,0)"), CellValue(ErrorValue::Div0));
}

TEST_F(FormulaEvalTest, AreaWhereOneValueIsWantedMeetsTheFormulasRowOrColumn) {
    cells.set("A1", 1.0);
    cells.set("A2", 2.0);
    cells.set("A3", 3.0);
    EXPECT_EQ(eval("=A1:A3*10", CellAddress{1, 1}), CellValue(20.0));
    EXPECT_EQ(eval("=A1:A3*10", kD7), CellValue(ErrorValue::Value));
    EXPECT_EQ(eval("=ABS(A1:A3)", CellAddress{2, 4}), CellValue(3.0));
}

TEST_F(FormulaEvalTest, ReferenceFallingOffTheSheetElsewhereIsRefError) {
    const auto f = Formula::parse(QStringLiteral("=RC[-3]+1"), ReferenceStyle::R1C1, kD7);
    const CellAddress a1{0, 0};
    EXPECT_EQ(f->evaluate(a1, cells), CellValue(ErrorValue::Ref));
    EXPECT_EQ(f->toA1(a1), QStringLiteral("=#REF!+1"));
    EXPECT_EQ(f->toR1C1(a1), QStringLiteral("=RC[-3]+1"));
    int visited = 0;
    f->forEachReference(a1, [&](const CellArea&) { ++visited; });
    EXPECT_EQ(visited, 0);
}

TEST_F(FormulaEvalTest, ReferencesAreListedForDependencies) {
    const CellAddress c10{9, 2};
    const auto f = Formula::parse(QStringLiteral("=SUM(R[-3]C:R[-1]C)+RC[-1]*IF(1,R1C1)"), ReferenceStyle::R1C1, c10);
    std::vector<CellArea> areas;
    f->forEachReference(c10, [&](const CellArea& a) { areas.push_back(a); });
    const std::vector<CellArea> expected{{6, 2, 8, 2}, {9, 1, 9, 1}, {0, 0, 0, 0}};
    EXPECT_EQ(areas, expected);
    // Areas written corner to corner in any order come out normalised.
    std::vector<CellArea> reversed;
    Formula::parse(QStringLiteral("=SUM(B3:A1)"), ReferenceStyle::A1, kD7)->forEachReference(kD7, [&](const CellArea& a) {
        reversed.push_back(a);
    });
    EXPECT_EQ(reversed, (std::vector<CellArea>{{0, 0, 2, 1}}));
}

TEST(FormatGeneralTest, FifteenSignificantDigitsWithoutTrailingZeros) {
    IsolatedEnvironment env;
    EXPECT_EQ(formatGeneral(0), QStringLiteral("0"));
    EXPECT_EQ(formatGeneral(-0.0), QStringLiteral("0"));
    EXPECT_EQ(formatGeneral(560), QStringLiteral("560"));
    EXPECT_EQ(formatGeneral(92.592), QStringLiteral("92.592"));
    EXPECT_EQ(formatGeneral(-1.5), QStringLiteral("-1.5"));
    EXPECT_EQ(formatGeneral(2.0 / 3), QStringLiteral("0.666666666666667"));
    EXPECT_EQ(formatGeneral(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(formatGeneral(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(formatGeneral(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(formatGeneral(123456789012345678.0), QStringLiteral("1.23456789012346E+17"));
    EXPECT_EQ(formatGeneral(0.0001), QStringLiteral("0.0001"));
    EXPECT_EQ(formatGeneral(0.00001), QStringLiteral("1E-05"));
    EXPECT_EQ(formatGeneral(-1.5e-10), QStringLiteral("-1.5E-10"));
}

}  // namespace
