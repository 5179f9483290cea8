// The 15 significant digits every number is written and rounded with, and the
// general text built from them.
#include "shell/locale_number.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

using shell::generalNumberText;
using shell::significantDigitsOf;

namespace {

TEST(SignificantDigits, RoundTheExactValueToFifteenDigits) {
    const struct {
        double value;
        const char* digits;
        int exponent;
    } cases[] = {
        {123.45, "123450000000000", 2},
        {-123.45, "123450000000000", 2},
        {0.1 + 0.2, "300000000000000", -1},           // 0.30000000000000004
        {1.005, "100500000000000", 0},                // a hair below 1.005 in binary
        {99999999999999.99, "100000000000000", 14},   // carries into a new digit
        {100000000000000.5, "100000000000001", 14},   // an exact tie goes away from zero
        {100000000000001.5, "100000000000002", 14},
        {-2.5e-7, "250000000000000", -7},
        {std::numeric_limits<double>::denorm_min(), "494065645841247", -324},
        {std::numeric_limits<double>::max(), "179769313486232", 308},
    };
    for (const auto& c : cases) {
        const shell::SignificantDigits s = significantDigitsOf(c.value);
        EXPECT_EQ(std::string(s.digits.begin(), s.digits.end()), c.digits) << c.value;
        EXPECT_EQ(s.exponent, c.exponent) << c.value;
    }
}

TEST(SignificantDigits, GeneralTextIsPlainOrWithAnExponent) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1234567, "1234567"},
        {100.5, "100.5"},
        {0.1 + 0.2, "0.3"},
        {999999999999999, "999999999999999"},
        {1e15, "1E+15"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1e100, "1E+100"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-1.5e-10, "-1.5E-10"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
    };
    for (const auto& c : cases) EXPECT_EQ(generalNumberText(c.value), QLatin1String(c.text)) << c.value;
}

// The rule is the one Qt's "g" format with 15 digits writes: doubles of every bit
// pattern, and amounts in cents and their commissions, are written the same way.
TEST(SignificantDigits, GeneralTextAgreesWithQtsFifteenDigitFormat) {
    std::mt19937_64 random(20240613);
    std::uniform_int_distribution<long long> cents(0, 10'000'000'000'000LL);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        const double amount = static_cast<double>(cents(random)) / 100;
        for (const double v : {value, amount, amount * (12.5 / 100)}) {
            if (!std::isfinite(v) || v == 0) continue;
            ASSERT_EQ(generalNumberText(v), QString::number(v, 'g', 15).toUpper()) << v;
        }
    }
}

}  // namespace
