// Contents written as typed, and formulas evaluated on demand.
#include "engine/application.h"
#include "engine/formula/formula.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

class Contents : public ::testing::Test {
protected:
    void SetUp() override { app.Workbooks().Add(); }
    void put(const char* ref, const QString& text) { app.Range(QString::fromLatin1(ref)).SetFormulaR1C1(text); }
    CellValue value(const char* ref) { return app.Range(QString::fromLatin1(ref)).Value(); }
    double number(const char* ref) {
        const CellValue v = value(ref);
        EXPECT_TRUE(std::holds_alternative<double>(v)) << ref;
        return std::holds_alternative<double>(v) ? std::get<double>(v) : -1;
    }
    Application app;
};

TEST_F(Contents, TypedTextBecomesNumberPercentageOrText) {
    put("A1", "5600");
    put("A2", "10%");
    put("A3", "Aldo Fennick");
    put("A4", "%");
    EXPECT_EQ(number("A1"), 5600);
    EXPECT_DOUBLE_EQ(number("A2"), 0.1);
    EXPECT_EQ(app.Range("A2").NumberFormat(), "0%");
    EXPECT_EQ(value("A3"), CellValue(QStringLiteral("Aldo Fennick")));
    EXPECT_EQ(value("A4"), CellValue(QStringLiteral("%")));
    EXPECT_EQ(app.Range("A4").NumberFormat(), "General");
    // A cell with a number format of its own keeps it.
    app.Range("A5").SetNumberFormat("0.0%");
    put("A5", "10%");
    EXPECT_EQ(app.Range("A5").NumberFormat(), "0.0%");
}

TEST_F(Contents, FormulaKeepsItsTextAndGivesCanonicalForms) {
    put("B4", "10%");
    put("C7", "5600");
    put("D7", "=RC[-1]*R[-3]C[-2]");
    put("C4", "=R[+6]C");
    EXPECT_EQ(app.Range("D7").FormulaR1C1(), "=RC[-1]*R[-3]C[-2]");
    EXPECT_EQ(app.Range("D7").Formula(), "=C7*B4");
    EXPECT_EQ(app.Range("C4").FormulaR1C1(), "=R[+6]C");
    EXPECT_EQ(app.Range("C4").Formula(), "=C10");
    EXPECT_EQ(app.ActiveSheet().Data().cell(3, 2)->formula->toR1C1(CellAddress{3, 2}), "=R[6]C");
    EXPECT_DOUBLE_EQ(number("D7"), 560);
    EXPECT_EQ(number("C4"), 0);  // an empty cell reads as 0
    EXPECT_EQ(app.Range("C7").FormulaR1C1(), "5600");
    put("E1", "1.5e20");  // a constant reads back as the General format writes it
    EXPECT_EQ(app.Range("E1").FormulaR1C1(), "1.5E+20");
}

TEST_F(Contents, ResultsFollowEveryChange) {
    put("B1", "2");
    put("B2", "=R[-1]C*10");
    put("B3", "=SUM(R[-2]C:R[-1]C)");
    EXPECT_EQ(number("B3"), 22);
    put("B1", "3");
    EXPECT_EQ(number("B3"), 33);
    app.Range("B1").Clear();
    EXPECT_EQ(number("B3"), 0);
    put("B1", "4");
    app.Range("A1:B1").Merge();  // B1's value is not the top-left one: it goes
    EXPECT_EQ(number("B2"), 0);
}

TEST_F(Contents, NameStartingWithEqualsIsAFormula) {
    put("A1", "7");
    put("B1", "=RC[-1]+1");
    EXPECT_EQ(number("B1"), 8);
}

TEST_F(Contents, UnreadableFormulaFailsAndLeavesTheCellAsItWas) {
    put("B2", "old");
    EXPECT_THROW(put("B2", "=Smith, John"), EngineError);
    EXPECT_THROW(put("B3", "=SUM("), EngineError);
    EXPECT_EQ(value("B2"), CellValue(QStringLiteral("old")));
    EXPECT_EQ(app.ActiveSheet().Data().cell(2, 1), nullptr);
}

TEST_F(Contents, ACircularReferenceGivesAnErrorValue) {
    put("A1", "=R[1]C");
    put("A2", "=R[1]C+1");
    put("A3", "=R[-2]C");
    put("C1", "=RC");
    EXPECT_EQ(value("A1"), CellValue(ErrorValue::Ref));
    EXPECT_EQ(value("A3"), CellValue(ErrorValue::Ref));
    EXPECT_EQ(value("C1"), CellValue(ErrorValue::Ref));
    put("A3", "5");
    EXPECT_EQ(number("A1"), 6);
}

// Each cell refers to the one below: evaluating the top walks the whole column.
TEST_F(Contents, LongChainsNeedNoDeepRecursion) {
    const int n = 30000;
    for (int r = 1; r < n; ++r) put(QStringLiteral("A%1").arg(r).toLatin1().constData(), "=R[1]C+1");
    put(QStringLiteral("A%1").arg(n).toLatin1().constData(), "1");
    EXPECT_EQ(number("A1"), n);
    // A cycle longer than any nesting limit is still found.
    put(QStringLiteral("A%1").arg(n).toLatin1().constData(), "=R1C1");
    EXPECT_EQ(value("A1"), CellValue(ErrorValue::Ref));
    EXPECT_EQ(value("A15000"), CellValue(ErrorValue::Ref));
}

TEST_F(Contents, CalculateLeavesEveryFormulaWithItsCurrentResult) {
    put("C7", "5600");
    put("D7", "=RC[-1]*2");
    app.ActiveWorkbook().Calculate();
    const Cell* d7 = app.ActiveSheet().Data().cell(6, 3);
    ASSERT_NE(d7, nullptr);
    EXPECT_TRUE(d7->resultValid);
    EXPECT_EQ(d7->value, CellValue(11200.0));
    put("C7", "1");
    app.ActiveWorkbook().Calculate();
    EXPECT_EQ(app.ActiveSheet().Data().cell(6, 3)->value, CellValue(2.0));
}

TEST_F(Contents, WritingARangeWritesEveryCell) {
    app.Range("B2:C3").SetFormulaR1C1("=RC[-1]+1");
    EXPECT_EQ(app.ActiveSheet().Data().cells.size(), 4u);
}

}  // namespace
