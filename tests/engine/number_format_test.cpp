#include "engine/render/number_format.h"

#include "support/isolated_environment.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using engine::CellValue;
using engine::ErrorValue;
using engine::render::formatValue;
using engine::render::NumberSymbols;

namespace {

struct Case {
    double value;
    const char* format;
    const char* shown;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.value << " as \"" << c.format << "\""; }

class NumberFormatTest : public ::testing::TestWithParam<Case> {
protected:
    IsolatedEnvironment env;
};

TEST_P(NumberFormatTest, ShowsTheNumberAsASpreadsheetDoes) {
    const Case& c = GetParam();
    EXPECT_EQ(formatValue(CellValue{c.value}, QString::fromUtf8(c.format)), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(General, NumberFormatTest, ::testing::Values(
    Case{0, "General", "0"},
    Case{1, "General", "1"},
    Case{-42, "General", "-42"},
    Case{12345678901, "General", "12345678901"},
    Case{123456789012, "General", "1.23457E+11"},
    Case{1234567890123456, "General", "1.23457E+15"},
    Case{-1234567890123456, "General", "-1.23457E+15"},
    Case{1e20, "General", "1E+20"},
    Case{0.1 + 0.2, "General", "0.3"},
    Case{1.0 / 3, "General", "0.333333333"},
    Case{2.0 / 3, "General", "0.666666667"},
    Case{123.456789012345, "General", "123.456789"},
    Case{1234567890.5, "General", "1234567891"},
    Case{0.000123456789, "General", "0.000123457"},
    Case{0.0001, "General", "0.0001"},
    Case{0.00001, "General", "1E-05"},
    Case{-1.5, "General", "-1.5"},
    Case{2.5, "", "2.5"},
    Case{12.5, "@", "12.5"}));

INSTANTIATE_TEST_SUITE_P(Currency, NumberFormatTest, ::testing::Values(
    Case{1234.5, "$#,##0.00", "$1,234.50"},
    Case{-1234.5, "$#,##0.00", "-$1,234.50"},
    Case{0, "$#,##0.00", "$0.00"},
    Case{100, "$#,##0.00", "$100.00"},
    Case{1234567.891, "$#,##0.00", "$1,234,567.89"},
    Case{0.005, "$#,##0.00", "$0.01"},
    Case{1.005, "$#,##0.00", "$1.01"},
    Case{2.675, "$#,##0.00", "$2.68"},
    Case{-2.675, "$#,##0.00", "-$2.68"},
    Case{999.995, "$#,##0.00", "$1,000.00"},
    Case{-0.004, "$#,##0.00", "-$0.00"},
    // 15 significant digits first: an exact tie in the sixteenth goes away from zero.
    Case{100000000000000.5, "0.00", "100000000000001.00"},
    Case{1234.5, "_($* #,##0.00_)", " $1,234.50 "},
    Case{1234.5, "[$\xe2\x82\xac-407] #,##0.00", "\xe2\x82\xac 1,234.50"}));

INSTANTIATE_TEST_SUITE_P(Percent, NumberFormatTest, ::testing::Values(
    Case{0.1, "0.0%", "10.0%"},
    Case{0.12345, "0.0%", "12.3%"},
    Case{0.00125, "0.0%", "0.1%"},
    Case{0.0015, "0.0%", "0.2%"},
    Case{-0.05, "0.0%", "-5.0%"},
    Case{0.5, "0%", "50%"},
    Case{0.005, "0%", "1%"},
    Case{1, "0.00%", "100.00%"}));

INSTANTIATE_TEST_SUITE_P(Plain, NumberFormatTest, ::testing::Values(
    Case{2.5, "0", "3"},
    Case{-2.5, "0", "-3"},
    Case{0.4, "0", "0"},
    Case{1234567, "0", "1234567"},
    Case{3.14159, "0.00", "3.14"},
    Case{-0.001, "0.00", "-0.00"},
    Case{1234567.5, "#,##0", "1,234,568"},
    Case{999, "#,##0", "999"},
    Case{0, "#,##0", "0"},
    Case{-1000, "#,##0", "-1,000"},
    Case{1234.5, "#,##0.00", "1,234.50"},
    Case{0.5, "#.##", ".5"},
    Case{12.5, ".00", "12.50"},
    Case{5, "00000", "00005"},
    Case{123456789, "000-00-0000", "123-45-6789"},
    Case{12345, "0.0,\"K\"", "12.3K"},
    Case{12345678, "#,##0,,\" M\"", "12 M"},
    Case{12345, "0.00E+00", "1.23E+04"},
    Case{0.000123, "0.00E+00", "1.23E-04"},
    Case{99999, "0.0E+0", "1.0E+5"},
    Case{1234.5, "\"Total: \"0.0", "Total: 1234.5"},
    Case{7, "0\\x", "7x"},
    Case{std::numeric_limits<double>::infinity(), "0.00", "#NUM!"}));

INSTANTIATE_TEST_SUITE_P(Sections, NumberFormatTest, ::testing::Values(
    Case{5, "0.00;(0.00)", "5.00"},
    Case{-5, "0.00;(0.00)", "(5.00)"},
    Case{0, "0.00;(0.00)", "0.00"},
    Case{0, "0;-0;\"zero\"", "zero"},
    Case{-3, "\"Profit\";\"Loss\"", "Loss"},
    Case{3, "\"Profit\";\"Loss\"", "Profit"},
    Case{-1234.5, "$#,##0.00;[Red]-$#,##0.00", "-$1,234.50"},
    Case{-1, "0;;", ""},
    Case{0, "0;;", ""},
    Case{0, "General;General;\"none\"", "none"},
    Case{-2, "General;General;\"none\"", "2"},
    Case{12, "0;0;0;\"Name: \"@", "12"}));

INSTANTIATE_TEST_SUITE_P(Dates, NumberFormatTest, ::testing::Values(
    Case{1, "m/d/yyyy", "1/1/1900"},
    Case{0, "m/d/yyyy", "1/0/1900"},
    Case{59, "m/d/yyyy", "2/28/1900"},
    Case{60, "m/d/yyyy", "2/29/1900"},
    Case{61, "m/d/yyyy", "3/1/1900"},
    Case{45292, "m/d/yyyy", "1/1/2024"},
    Case{45292.75, "yyyy-mm-dd", "2024-01-01"},
    Case{44000, "d/m/yyyy", "18/6/2020"},
    Case{36526, "dd.mm.yyyy", "01.01.2000"},
    Case{2958465, "yyyy-mm-dd", "9999-12-31"},
    Case{45292, "mmm d, yyyy", "Jan 1, 2024"},
    Case{44000, "mmmm yy", "June 20"},
    Case{45292, "dddd", "Monday"},
    Case{1, "ddd", "Sun"},
    Case{61, "dddd", "Thursday"},
    Case{0.75, "h:mm AM/PM", "6:00 PM"},
    Case{0.25, "h:mm am/pm", "6:00 am"},
    Case{0.5 + 90.0 / 86400, "hh:mm:ss", "12:01:30"},
    Case{0.999999, "hh:mm:ss", "00:00:00"},
    Case{43831.5, "m/d/yyyy h:mm", "1/1/2020 12:00"},
    Case{-1, "m/d/yyyy", "########"},
    Case{2958466, "m/d/yyyy", "########"}));

TEST(NumberFormatValues, TextShowsAsIsUnlessATextSectionSaysOtherwise) {
    IsolatedEnvironment env;
    EXPECT_EQ(formatValue(CellValue{QStringLiteral("Ann")}, QStringLiteral("$#,##0.00")), "Ann");
    EXPECT_EQ(formatValue(CellValue{QStringLiteral("Ann")}, QStringLiteral("General")), "Ann");
    EXPECT_EQ(formatValue(CellValue{QStringLiteral("Bob")}, QStringLiteral("0;0;0;\"Name: \"@")), "Name: Bob");
    EXPECT_EQ(formatValue(CellValue{QStringLiteral("Bob")}, QStringLiteral("\"<\"@\">\"")), "<Bob>");
    EXPECT_EQ(formatValue(CellValue{QStringLiteral("a;b \"c\"")}, QStringLiteral("@")), "a;b \"c\"");
}

TEST(NumberFormatValues, BooleansErrorsAndEmptyCells) {
    IsolatedEnvironment env;
    EXPECT_EQ(formatValue(CellValue{true}, QStringLiteral("0.00")), "TRUE");
    EXPECT_EQ(formatValue(CellValue{false}, QStringLiteral("General")), "FALSE");
    EXPECT_EQ(formatValue(CellValue{ErrorValue::Div0}, QStringLiteral("$#,##0.00")), "#DIV/0!");
    EXPECT_EQ(formatValue(CellValue{ErrorValue::NA}, QStringLiteral("General")), "#N/A");
    EXPECT_EQ(formatValue(CellValue{}, QStringLiteral("$#,##0.00")), "");
}

// The separators of the locale replace the format's decimal point and grouping
// commas in numbers; the format's literal text (a date's dots) stays as it is.
TEST(NumberFormatSymbols, NumbersShowWithTheGivenSeparators) {
    IsolatedEnvironment env;
    const NumberSymbols german = NumberSymbols::of(QLocale(QLocale::German, QLocale::Germany));
    const NumberSymbols american = NumberSymbols::of(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(german, (NumberSymbols{",", "."}));
    EXPECT_EQ(american, NumberSymbols{});
    struct Case {
        double value;
        const char* format;
        const char* german;
        const char* american;
    };
    const Case cases[] = {
        {5600, "$#,##0.00", "$5.600,00", "$5,600.00"},
        {-1234567.891, "$#,##0.00", "-$1.234.567,89", "-$1,234,567.89"},
        {0.075, "0.0%", "7,5%", "7.5%"},
        {0.5, "General", "0,5", "0.5"},
        {1234567890123456, "General", "1,23457E+15", "1.23457E+15"},
        {12345, "0.00E+00", "1,23E+04", "1.23E+04"},
        {12.5, ".00", "12,50", "12.50"},
        {12345, "0.0,\"K\"", "12,3K", "12.3K"},
        {2.5, "0.0 \"of\" General", "2,5 of 2,5", "2.5 of 2.5"},
        {36526, "dd.mm.yyyy", "01.01.2000", "01.01.2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatValue(CellValue{c.value}, QString::fromUtf8(c.format), german), QString::fromUtf8(c.german));
        EXPECT_EQ(formatValue(CellValue{c.value}, QString::fromUtf8(c.format), american),
                  QString::fromUtf8(c.american));
    }
}

}  // namespace
