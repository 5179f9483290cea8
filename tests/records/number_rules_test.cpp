#include "shell/failure.h"
#include "shell/locale_number.h"
#include "support/scoped_default_locale.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using shell::commissionText;
using shell::isNumeric;
using shell::localeNumberText;
using shell::parseLocaleNumber;
using shell::toDouble;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kFrench(QLocale::French, QLocale::France);

struct Numeric {
    const char* text;
    double value;
};

void expectNumbers(const QLocale& locale, std::initializer_list<Numeric> cases) {
    for (const Numeric& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::optional<double> value = parseLocaleNumber(text, locale);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
        EXPECT_TRUE(isNumeric(text, locale)) << c.text;
        EXPECT_DOUBLE_EQ(toDouble(text, locale), c.value) << c.text;
    }
}

void expectNotNumbers(const QLocale& locale, std::initializer_list<const char*> texts) {
    for (const char* raw : texts) {
        const QString text = QString::fromUtf8(raw);
        EXPECT_FALSE(parseLocaleNumber(text, locale).has_value()) << raw;
        EXPECT_FALSE(isNumeric(text, locale)) << raw;
        EXPECT_THROW(toDouble(text, locale), shell::Failure) << raw;
    }
}

}  // namespace

TEST(NumberRules, EnglishNumbers) {
    expectNumbers(kEnglish, {{"5600", 5600},
                             {"  12.5\t", 12.5},
                             {"+3", 3},
                             {"-3", -3},
                             {"0", 0},
                             {"007", 7},
                             {"1,234.5", 1234.5},
                             {"1,234,567", 1234567},
                             {"-12,345.678", -12345.678},
                             {".5", 0.5},
                             {"5.", 5},
                             {"1e3", 1000},
                             {"1.5E-2", 0.015},
                             {"-2.5e+2", -250},
                             {"1,000e2", 100000},
                             {"1e-400", 0}});
}

TEST(NumberRules, EnglishNonNumbers) {
    expectNotNumbers(kEnglish, {"", "   ", "abc", "12a", "a12", ".", "-", "+", "+-1", "--5", "5-", "1 2",
                                "1,2,3", "12,34", "1234,567", ",5", "1,", "1,,234", "1,234,56", "1.2.3",
                                "1.234,5", "1e", "1e+", "e5", "1e5.5", "1e,5", "1.5,000",
                                "inf", "-inf", "infinity", "nan", "NaN", "∞", "0x10", "1e999", "-1e999",
                                "$5", "5%", "(5)", "1 000", "٣", "５"});
}

TEST(NumberRules, GermanNumbers) {
    expectNumbers(kGerman, {{"1234,56", 1234.56},
                            {"1.234,56", 1234.56},
                            {"1.234.567", 1234567},
                            {",5", 0.5},
                            {"-7,5", -7.5},
                            {"1,5e3", 1500},
                            {"10", 10}});
    // The C notation is not taken under a comma locale: "1234.56" is not read as 123456.
    expectNotNumbers(kGerman, {"1234.56", "0.5", "1,234.5", "1.2", "12.50", ",", "1,2,3"});
}

TEST(NumberRules, SpaceGroupedNumbers) {
    // French groups with a narrow no-break space; a typed space or no-break space is taken too.
    expectNumbers(kFrench, {{"1\u202F234,5", 1234.5}, {"1 234,5", 1234.5}, {"1\u00A0234", 1234}, {" 1 234 ", 1234}});
    expectNotNumbers(kFrench, {"1  234", "12 34", "1 234.5"});
}

TEST(NumberRules, DefaultLocaleIsTheUsers) {
    {
        ScopedDefaultLocale german(kGerman);
        EXPECT_TRUE(isNumeric(QStringLiteral("7,5")));
        EXPECT_FALSE(isNumeric(QStringLiteral("7.5")));
        EXPECT_EQ(commissionText(toDouble(QStringLiteral("1234,56")), toDouble(QStringLiteral("7,5"))),
                  QStringLiteral("92,592"));
    }
    {
        ScopedDefaultLocale english(kEnglish);
        EXPECT_TRUE(isNumeric(QStringLiteral("7.5")));
        EXPECT_EQ(commissionText(1234.56, 7.5), QStringLiteral("92.592"));
    }
}

TEST(NumberRules, TextThatIsNoNumberIsNamed) {
    try {
        toDouble(QStringLiteral("ten"), kEnglish);
        FAIL();
    } catch (const shell::Failure& failure) {
        EXPECT_EQ(failure.description(), QStringLiteral("\"ten\" is not a number."));
    }
}

TEST(CommissionText, ExamplesOfTheEntryFields) {
    EXPECT_EQ(commissionText(5600, 10, kEnglish), QStringLiteral("560"));
    EXPECT_EQ(commissionText(1234.56, 7.5, kEnglish), QStringLiteral("92.592"));
    EXPECT_EQ(commissionText(999.99, 12.5, kEnglish), QStringLiteral("124.99875"));
    EXPECT_EQ(commissionText(*parseLocaleNumber(QStringLiteral("1234,56"), kGerman),
                             *parseLocaleNumber(QStringLiteral("7,5"), kGerman), kGerman),
              QStringLiteral("92,592"));
    // Typing 5600 digit by digit at 10 percent.
    EXPECT_EQ(commissionText(5, 10, kEnglish), QStringLiteral("0.5"));
    EXPECT_EQ(commissionText(56, 10, kEnglish), QStringLiteral("5.6"));
    EXPECT_EQ(commissionText(560, 10, kEnglish), QStringLiteral("56"));
}

TEST(CommissionText, SignsZerosAndNoGrouping) {
    EXPECT_EQ(commissionText(-200, 10, kEnglish), QStringLiteral("-20"));
    EXPECT_EQ(commissionText(200, -10, kGerman), QStringLiteral("-20"));
    EXPECT_EQ(commissionText(0, 10, kEnglish), QStringLiteral("0"));
    EXPECT_EQ(commissionText(-5, 0, kEnglish), QStringLiteral("0"));  // never "-0"
    EXPECT_EQ(commissionText(123456789, 10, kEnglish), QStringLiteral("12345678.9"));
    EXPECT_EQ(commissionText(123456789, 10, kGerman), QStringLiteral("12345678,9"));
    // 0.1 * 0.3 is 0.030000000000000002 in binary; 15 digits hide that.
    EXPECT_EQ(commissionText(0.3, 10, kEnglish), QStringLiteral("0.03"));
    EXPECT_EQ(commissionText(1, 100.0 / 3.0, kEnglish), QStringLiteral("0.333333333333333"));
}

TEST(CommissionText, ExponentForVeryLargeAndSmallValues) {
    EXPECT_EQ(commissionText(1e16, 10, kEnglish), QStringLiteral("1E+15"));
    EXPECT_EQ(commissionText(1.5e21, 10, kGerman), QStringLiteral("1,5E+20"));
    EXPECT_EQ(commissionText(1e-4, 10, kEnglish), QStringLiteral("1E-05"));
    EXPECT_EQ(commissionText(1e-3, 10, kEnglish), QStringLiteral("0.0001"));
    EXPECT_EQ(commissionText(9999999999999990, 10, kEnglish), QStringLiteral("999999999999999"));
}

TEST(CommissionText, NoTextForInfinityOrNaN) {
    // The largest doubles round up past the largest double at 15 digits: no text either.
    EXPECT_FALSE(localeNumberText(std::numeric_limits<double>::max(), kEnglish).has_value());
    EXPECT_FALSE(commissionText(1e308, 1e10, kEnglish).has_value());
    EXPECT_FALSE(commissionText(-1e308, 1e10, kEnglish).has_value());
    EXPECT_FALSE(commissionText(std::numeric_limits<double>::quiet_NaN(), 10, kEnglish).has_value());
    EXPECT_FALSE(commissionText(5, std::numeric_limits<double>::infinity(), kEnglish).has_value());
}

TEST(CommissionText, WrittenTextsReadBackUnderTheSameLocale) {
    for (const QLocale& locale : {kEnglish, kGerman, kFrench}) {
        for (double value : {560.0, 92.592, -0.5, 1e-7, 3.25e19, 1.79769313486231e308, 2.2250738585072014e-308,
                             123456789.123456, 2.0 / 3.0}) {
            const std::optional<QString> text = localeNumberText(value, locale);
            ASSERT_TRUE(text.has_value());
            const std::optional<double> back = parseLocaleNumber(*text, locale);
            ASSERT_TRUE(back.has_value()) << text->toStdString();
            // Equal to the value rounded to 15 significant digits.
            const std::string rounded = QString::number(value, 'g', 15).toStdString();
            double expected = 0;
            std::from_chars(rounded.data(), rounded.data() + rounded.size(), expected);
            EXPECT_EQ(*back, expected) << text->toStdString();
        }
    }
}
