// Texts written into cells "as if typed": numbers by the entry fields' locale
// rules, currency, percentages, dates, logical and error values, formulas, text.
#include "engine/formula/typed_input.h"
#include "engine/model/engine_error.h"
#include "shell/locale_number.h"
#include "support/qt_gtest_printers.h"
#include "support/isolated_environment.h"

#include <gtest/gtest.h>

using namespace engine;
using engine::formula::TypedInput;
using engine::formula::parseTypedInput;

namespace {

const QLocale kUS(QLocale::English, QLocale::UnitedStates);
const QLocale kDE(QLocale::German, QLocale::Germany);

class TypedInputTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;

    static TypedInput us(const char* text) { return parseTypedInput(QString::fromUtf8(text), kUS); }
    static TypedInput de(const char* text) { return parseTypedInput(QString::fromUtf8(text), kDE); }
    static bool isText(const TypedInput& in, const char* text) {
        return !in.isFormula && in.constant == CellValue(QString::fromUtf8(text)) && in.impliedNumberFormat.isEmpty();
    }
};

::testing::AssertionResult isNumber(const TypedInput& in, double value, const char* format = "") {
    if (in.isFormula) return ::testing::AssertionFailure() << "read as a formula";
    const double* d = std::get_if<double>(&in.constant);
    if (!d) return ::testing::AssertionFailure() << "not a number";
    if (*d != value) return ::testing::AssertionFailure() << "value " << *d << " instead of " << value;
    if (in.impliedNumberFormat != QString::fromUtf8(format))
        return ::testing::AssertionFailure() << "format " << in.impliedNumberFormat.toStdString();
    return ::testing::AssertionSuccess();
}

TEST_F(TypedInputTest, NumbersFollowTheLocale) {
    EXPECT_TRUE(isNumber(us("5600"), 5600));
    EXPECT_TRUE(isNumber(us("1,234.56"), 1234.56));
    EXPECT_TRUE(isNumber(us(" 42 "), 42));
    EXPECT_TRUE(isNumber(us("-3.5"), -3.5));
    EXPECT_TRUE(isNumber(us("1e308"), 1e308));
    EXPECT_TRUE(isText(us("1e999"), "1e999"));
    EXPECT_TRUE(isText(us("0x10"), "0x10"));
    EXPECT_TRUE(isText(us("12,34"), "12,34"));

    EXPECT_TRUE(isNumber(de("5.600,50"), 5600.5));
    EXPECT_TRUE(isNumber(de("1234,56"), 1234.56));
    EXPECT_TRUE(isText(de("1234.56"), "1234.56"));
}

TEST_F(TypedInputTest, EveryTotalTheEntryFieldsAcceptBecomesThatNumber) {
    const char* totals[] = {"0", "5600", "1234.56", "1,234,567.5", "-0.5", ".5", "5.", "+7", "1e3", "2.5E-2",
                            "1 234,5", "1.234,5", "999999999999999", "  12  "};
    for (const QLocale& locale : {kUS, kDE}) {
        for (const char* total : totals) {
            const QString t = QString::fromLatin1(total);
            const std::optional<double> expected = shell::parseLocaleNumber(t, locale);
            if (!expected) continue;
            EXPECT_TRUE(isNumber(parseTypedInput(t, locale), *expected)) << total << " " << locale.name().toStdString();
        }
    }
}

TEST_F(TypedInputTest, CurrencyAsSpreadsheetsAcceptIt) {
    EXPECT_TRUE(isNumber(us("$5,600.00"), 5600, "$#,##0.00"));
    EXPECT_TRUE(isNumber(us("-$5"), -5, "$#,##0"));
    EXPECT_TRUE(isNumber(us("$-5"), -5, "$#,##0"));
    EXPECT_TRUE(isNumber(us("$ 12.5"), 12.5, "$ #,##0.00"));
    EXPECT_TRUE(isText(us("-$-5"), "-$-5"));
    EXPECT_TRUE(isText(us("$"), "$"));
    EXPECT_TRUE(isText(us("$$5"), "$$5"));
    EXPECT_TRUE(isText(us("$5x"), "$5x"));

    EXPECT_TRUE(isNumber(de("5,00 €"), 5, "#,##0.00 \"€\""));
    EXPECT_TRUE(isNumber(de("-1.200 €"), -1200, "#,##0 \"€\""));
    EXPECT_TRUE(isNumber(de("$5"), 5, "$#,##0"));

    // A currency sign that starts with a letter, written before the amount.
    const QLocale sv(QLocale::Swedish, QLocale::Sweden);
    EXPECT_TRUE(isNumber(parseTypedInput(QStringLiteral("kr 5"), sv), 5, "\"kr\" #,##0"));
    EXPECT_TRUE(isNumber(parseTypedInput(QStringLiteral(" kr12"), sv), 12, "\"kr\"#,##0"));
    EXPECT_TRUE(isText(parseTypedInput(QStringLiteral("kronor"), sv), "kronor"));
}

TEST_F(TypedInputTest, PercentagesWithImpliedFormat) {
    EXPECT_TRUE(isNumber(us("10%"), 0.1, "0%"));
    EXPECT_TRUE(isNumber(us("10.5%"), 0.105, "0.00%"));
    EXPECT_TRUE(isNumber(us("-5 %"), -0.05, "0%"));
    EXPECT_TRUE(isNumber(us("1,000%"), 10, "0%"));
    EXPECT_TRUE(isNumber(de("10,5%"), 0.105, "0.00%"));
    // The percentage cell of the sheet with an empty percentage field.
    EXPECT_TRUE(isText(us("%"), "%"));
    EXPECT_TRUE(isText(us("%10"), "%10"));
    EXPECT_TRUE(isText(us("10%%"), "10%%"));
}

TEST_F(TypedInputTest, DatesBecomeDayNumbers) {
    EXPECT_TRUE(isNumber(us("2024-03-01"), 45352, "yyyy-mm-dd"));
    EXPECT_TRUE(isNumber(us("3/1/2024"), 45352, "m/d/yyyy"));
    EXPECT_TRUE(isNumber(us("3/1/24"), 45352, "m/d/yy"));
    EXPECT_TRUE(isNumber(us("3/1/30"), 11018, "m/d/yy"));  // 1930
    EXPECT_TRUE(isNumber(us("1900-01-01"), 1, "yyyy-mm-dd"));
    EXPECT_TRUE(isNumber(us("2/29/1900"), 60, "m/d/yyyy"));
    EXPECT_TRUE(isNumber(us("1900-03-01"), 61, "yyyy-mm-dd"));
    EXPECT_TRUE(isText(us("1899-12-31"), "1899-12-31"));
    EXPECT_TRUE(isText(us("2/30/2024"), "2/30/2024"));
    EXPECT_TRUE(isText(us("13/1/2024"), "13/1/2024"));

    EXPECT_TRUE(isNumber(de("01.03.2024"), 45352, "dd\\.mm\\.yyyy"));
    EXPECT_TRUE(isNumber(de("1.3.24"), 45352, "dd\\.mm\\.yy"));
    EXPECT_TRUE(isNumber(de("2024-03-01"), 45352, "yyyy-mm-dd"));
    EXPECT_TRUE(isText(de("3/1/2024"), "3/1/2024"));
}

TEST_F(TypedInputTest, LogicalAndErrorValues) {
    EXPECT_EQ(us("TRUE").constant, CellValue(true));
    EXPECT_EQ(us("false").constant, CellValue(false));
    EXPECT_EQ(de(" True ").constant, CellValue(true));
    EXPECT_EQ(us("#DIV/0!").constant, CellValue(ErrorValue::Div0));
    EXPECT_EQ(us("#n/a").constant, CellValue(ErrorValue::NA));
    EXPECT_TRUE(isText(us("TRUEish"), "TRUEish"));
}

TEST_F(TypedInputTest, FormulasTextAndEmpty) {
    const TypedInput formula = us("=RC[-1]*R[-3]C[-2]");
    EXPECT_TRUE(formula.isFormula);
    EXPECT_TRUE(isEmpty(formula.constant));
    // A name starting with "=" is a formula as well; the caller parses it.
    EXPECT_TRUE(us("=Bob").isFormula);
    EXPECT_TRUE(isEmpty(us("").constant));
    EXPECT_FALSE(us("").isFormula);
    EXPECT_TRUE(isText(us("Sales Commission Calculator"), "Sales Commission Calculator"));
    EXPECT_TRUE(isText(us("  spaced  "), "  spaced  "));
    // Names of every start: letters that begin logical values, letters beyond ASCII.
    EXPECT_TRUE(isText(us("Fred"), "Fred"));
    EXPECT_TRUE(isText(us("tina"), "tina"));
    EXPECT_TRUE(isText(us(" Zoë Ångström"), " Zoë Ångström"));
    EXPECT_TRUE(isText(us("Ωmega 5"), "Ωmega 5"));
    EXPECT_TRUE(isText(us(" =1"), " =1"));
    // An apostrophe keeps the rest as text.
    EXPECT_TRUE(isText(us("'123"), "123"));
    EXPECT_TRUE(isText(us("'=1"), "=1"));
}

TEST_F(TypedInputTest, TextLongerThanACellHoldsFails) {
    EXPECT_NO_THROW(parseTypedInput(QString(kMaxTextLength, u'x'), kUS));
    try {
        parseTypedInput(QString(kMaxTextLength + 1, u'x'), kUS);
        FAIL() << "accepted";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("Text values are limited to 32767 characters."));
    }
}

}  // namespace
