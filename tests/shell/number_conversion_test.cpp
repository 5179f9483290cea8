// A number text becomes the double nearest to its exact value, as the C library
// reads it, at the edges of a double's range too.
#include "shell/locale_number.h"

#include <QLocale>
#include <QString>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

double cLibraryValue(const char* text) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    return ::strtod_l(text, nullptr, cLocale);
}

TEST(NumberConversion, HardCasesAndRangeEdgesReadAsTheCLibraryReadsThem) {
    const char* texts[] = {
        "0.1", "0.3", "1234.56", "9007199254740993",  // halfway between two doubles: rounds to even
        "2.2250738585072011e-308", "2.2250738585072012e-308",  // around the smallest normal double
        "4.9e-324", "2.4e-324", "1e-320",                       // subnormal, and a half below the smallest
        "1.7976931348623157e308", "1.7976931348623158e308",     // the largest double and a hair above
        "1e-400", "123456789012345678901234567890", "0.000000000000000000000000000000000001",
    };
    for (const char* text : texts) {
        const std::optional<double> value = shell::parseLocaleNumber(QString::fromLatin1(text), kEnglish);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, cLibraryValue(text)) << text;
    }
    EXPECT_FALSE(shell::parseLocaleNumber(QStringLiteral("1.7976931348623159e308"), kEnglish).has_value());
}

TEST(NumberConversion, RandomDecimalsReadAsTheCLibraryReadsThem) {
    std::mt19937_64 random(20240301);
    std::uniform_int_distribution<int> digitCount(1, 25), digit(0, 9), exponent(-330, 310);
    for (int k = 0; k < 20000; ++k) {
        std::string text;
        const int digits = digitCount(random);
        for (int i = 0; i < digits; ++i) {
            if (i == 1) text += '.';
            text += char('0' + digit(random));
        }
        text += 'e' + std::to_string(exponent(random));
        const double expected = cLibraryValue(text.c_str());
        const std::optional<double> value = shell::parseLocaleNumber(QString::fromStdString(text), kEnglish);
        if (!std::isfinite(expected)) {
            EXPECT_FALSE(value.has_value()) << text;
        } else {
            ASSERT_TRUE(value.has_value()) << text;
            EXPECT_EQ(*value, expected) << text;
        }
    }
}

}  // namespace
