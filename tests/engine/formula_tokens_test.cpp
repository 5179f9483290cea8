// The formula tokens of the file format: bytes checked by hand against the
// format's layout, round trips of every construct, and a decoder that refuses
// anything broken without crashing.
#include "engine/formula/formula.h"
#include "engine/model/engine_error.h"
#include "support/qt_gtest_printers.h"
#include "support/isolated_environment.h"

#include <gtest/gtest.h>

#include <random>

using namespace engine;
using engine::formula::Formula;
using engine::formula::ReferenceStyle;

namespace {

constexpr CellAddress kD7{6, 3};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(static_cast<char>(v));
    return b;
}

QByteArray tokensOf(const char* r1c1, CellAddress at = kD7) {
    return Formula::parse(QString::fromUtf8(r1c1), ReferenceStyle::R1C1, at)->toBiff8Tokens(at);
}

QString decoded(const QByteArray& tokens, CellAddress at = kD7) {
    return Formula::fromBiff8Tokens(tokens, at)->toR1C1(at);
}

// The description of the decoder's refusal, or "" when it accepts.
QString refusal(const QByteArray& tokens) {
    try {
        Formula::fromBiff8Tokens(tokens, kD7);
    } catch (const EngineError& e) {
        return e.description();
    }
    return QString();
}

class FormulaTokensTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;
};

// ptgRef is 0x24 in its reference class; as an operand of "*" it is stored in the
// value class, 0x44. Then the 0-based row (2 bytes) and the column field: column
// in the low byte, bit 14 column relative, bit 15 row relative.
TEST_F(FormulaTokensTest, CommissionFormulaBytesMatchTheFormatLayout) {
    const QByteArray expected = bytes({
        0x44, 0x06, 0x00, 0x02, 0xC0,  // C7: row 6, column 2, both relative
        0x44, 0x03, 0x00, 0x01, 0xC0,  // B4: row 3, column 1, both relative
        0x05,                          // ptgMul
    });
    EXPECT_EQ(tokensOf("=RC[-1]*R[-3]C[-2]"), expected);
}

TEST_F(FormulaTokensTest, TotalsAndSummaryFormulaBytes) {
    // SUM of C7:C9 from C10: ptgArea (reference class for SUM's parameter) with
    // first row, last row, first column field, last column field; then
    // ptgFuncVar (value class 0x42) with 1 argument and function number 4.
    EXPECT_EQ(tokensOf("=SUM(R[-3]C:R[-1]C)", CellAddress{9, 2}),
              bytes({0x25, 0x06, 0x00, 0x08, 0x00, 0x02, 0xC0, 0x02, 0xC0, 0x42, 0x01, 0x04, 0x00}));
    // C4 pointing at C8.
    EXPECT_EQ(tokensOf("=R[+4]C", CellAddress{3, 2}), bytes({0x44, 0x07, 0x00, 0x02, 0xC0}));
}

TEST_F(FormulaTokensTest, OperandBytes) {
    EXPECT_EQ(tokensOf("=R4C2"), bytes({0x44, 0x03, 0x00, 0x01, 0x00}));
    EXPECT_EQ(tokensOf("=R4C[-2]"), bytes({0x44, 0x03, 0x00, 0x01, 0x40}));
    EXPECT_EQ(tokensOf("=R[-3]C2"), bytes({0x44, 0x03, 0x00, 0x01, 0x80}));
    EXPECT_EQ(tokensOf("=65535"), bytes({0x1E, 0xFF, 0xFF}));
    EXPECT_EQ(tokensOf("=1.5"), bytes({0x1F, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    EXPECT_EQ(tokensOf("=65536"), bytes({0x1F, 0, 0, 0, 0, 0, 0, 0xF0, 0x40}));
    EXPECT_EQ(tokensOf("=\"ab\""), bytes({0x17, 0x02, 0x00, 'a', 'b'}));
    EXPECT_EQ(Formula::parse(QStringLiteral("=\"é€\""), ReferenceStyle::A1, kD7)->toBiff8Tokens(kD7),
              bytes({0x17, 0x02, 0x01, 0xE9, 0x00, 0xAC, 0x20}));
    EXPECT_EQ(tokensOf("=TRUE"), bytes({0x1D, 0x01}));
    EXPECT_EQ(tokensOf("=#N/A"), bytes({0x1C, 0x2A}));
    EXPECT_EQ(tokensOf("=-1%"), bytes({0x1E, 0x01, 0x00, 0x13, 0x14}));
    EXPECT_EQ(tokensOf("=+(1)"), bytes({0x1E, 0x01, 0x00, 0x15, 0x12}));
    // Fixed-argument functions carry no count: ptgFunc with ROUND's number 27.
    EXPECT_EQ(tokensOf("=ROUND(1,2)"), bytes({0x1E, 0x01, 0x00, 0x1E, 0x02, 0x00, 0x41, 0x1B, 0x00}));
    EXPECT_EQ(tokensOf("=IF(RC,,2)"),
              bytes({0x44, 0x06, 0x00, 0x03, 0xC0, 0x16, 0x1E, 0x02, 0x00, 0x42, 0x03, 0x01, 0x00}));
}

TEST_F(FormulaTokensTest, EveryConstructSurvivesTheRoundTrip) {
    const char* formulas[] = {
        "=RC[-1]*R[-3]C[-2]", "=SUM(R[-3]C:R[-1]C)", "=R[6]C", "=R1C1:R65536C256", "=R4C[-2]+R[-3]C2",
        "=1+2-3*4/5^6&7", "=1=2", "=1<>2", "=1<2", "=1<=2", "=1>2", "=1>=2", "=-2^2", "=+3", "=5%%",
        "=(1+2)*3", "=((1))", "=0.1", "=1E+300", "=-1E-300", "=123456789.125", "=65535", "=65536",
        "=\"\"", "=\"say \"\"hi\"\"\"", "=\"日本\"", "=TRUE", "=FALSE", "=#NULL!", "=#DIV/0!", "=#VALUE!",
        "=#REF!", "=#NAME?", "=#NUM!", "=#N/A", "=IF(RC,,2)", "=IF(TRUE,1)", "=SUM(1,,3)",
        "=COUNT(R1C1:R2C2,RC)", "=COUNTA(RC)", "=AVERAGE(RC[1])", "=MIN(1)", "=MAX(1,2)", "=PRODUCT(2,3)",
        "=ROUND(1.25,1)", "=ROUNDUP(1,0)", "=ROUNDDOWN(1,0)", "=ABS(-1)", "=INT(1.5)", "=MOD(5,3)",
        "=AND(TRUE,FALSE)", "=OR(RC)", "=NOT(0)", "=LEN(\"x\")", "=CONCATENATE(\"a\",RC,1)", "=UPPER(\"a\")",
        "=LOWER(\"A\")", "=TRIM(\" a \")", "=IF(RC>0,SUM(R1C1:R3C1)*2,ROUND(RC,2))",
    };
    for (const char* text : formulas) {
        const QByteArray tokens = tokensOf(text);
        const auto back = Formula::fromBiff8Tokens(tokens, kD7);
        EXPECT_EQ(back->toR1C1(kD7), QString::fromUtf8(text)) << text;
        EXPECT_EQ(back->toBiff8Tokens(kD7), tokens) << text;
    }
}

TEST_F(FormulaTokensTest, TokensReadFromOtherWritersDecode) {
    // The sum attribute that stands for SUM with one argument.
    EXPECT_EQ(decoded(bytes({0x25, 0x06, 0x00, 0x08, 0x00, 0x02, 0xC0, 0x02, 0xC0, 0x19, 0x10, 0x00, 0x00}),
                      CellAddress{9, 2}),
              QStringLiteral("=SUM(R[-3]C:R[-1]C)"));
    // Space and jump attributes change nothing; array-class references read too.
    EXPECT_EQ(decoded(bytes({0x19, 0x40, 0x00, 0x01, 0x64, 0x06, 0x00, 0x02, 0xC0, 0x19, 0x08, 0x02, 0x00})),
              QStringLiteral("=RC[-1]"));
    // A deleted reference reads as #REF!.
    EXPECT_EQ(decoded(bytes({0x4A, 0, 0, 0, 0, 0x1E, 0x01, 0x00, 0x03})), QStringLiteral("=#REF!+1"));
    // A tree that needs parentheses its tokens do not mark gets them in its text.
    EXPECT_EQ(decoded(bytes({0x1E, 1, 0, 0x1E, 2, 0, 0x03, 0x1E, 3, 0, 0x05})), QStringLiteral("=(1+2)*3"));
    EXPECT_EQ(decoded(bytes({0x1E, 2, 0, 0x1E, 2, 0, 0x07, 0x13})), QStringLiteral("=-(2^2)"));
    EXPECT_EQ(decoded(bytes({0x1E, 1, 0, 0x1E, 2, 0, 0x1E, 3, 0, 0x04, 0x04})), QStringLiteral("=1-(2-3)"));
}

TEST_F(FormulaTokensTest, ReferencesOffTheSheetAreWrittenAsDeletedReferences) {
    const auto f = Formula::parse(QStringLiteral("=RC[-3]+SUM(R1C1:RC[-3])"), ReferenceStyle::R1C1, kD7);
    const QByteArray tokens = f->toBiff8Tokens(CellAddress{0, 0});
    EXPECT_EQ(tokens, bytes({0x4A, 0, 0, 0, 0, 0x2B, 0, 0, 0, 0, 0, 0, 0, 0, 0x42, 0x01, 0x04, 0x00, 0x03}));
    EXPECT_EQ(decoded(tokens, CellAddress{0, 0}), QStringLiteral("=#REF!+SUM(#REF!)"));
}

TEST_F(FormulaTokensTest, UnsupportedTokensAreRefusedWithADescription) {
    const QString prefix = QStringLiteral("The formula stored in the file cannot be read: ");
    EXPECT_TRUE(refusal(QByteArray()).startsWith(prefix));
    EXPECT_TRUE(refusal(bytes({0x1E, 1, 0, 0x1E, 2, 0})).contains(QStringLiteral("one expression")));
    EXPECT_TRUE(refusal(bytes({0x03})).contains(QStringLiteral("lacks its operands")));
    EXPECT_TRUE(refusal(bytes({0x1F, 0, 0, 0})).contains(QStringLiteral("cut short")));
    EXPECT_TRUE(refusal(bytes({0x17, 5, 0, 'a'})).contains(QStringLiteral("cut short")));
    EXPECT_TRUE(refusal(bytes({0x17, 5, 1, 'a', 0, 'b', 0})).contains(QStringLiteral("cut short")));
    EXPECT_TRUE(refusal(bytes({0x1C, 0x99})).contains(QStringLiteral("unknown error value")));
    EXPECT_TRUE(refusal(bytes({0x1F, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F})).contains(QStringLiteral("invalid number")));
    EXPECT_TRUE(refusal(bytes({0x01, 0, 0, 0, 0})).contains(QStringLiteral("shared")));
    EXPECT_TRUE(refusal(bytes({0x4C, 0, 0, 0, 0})).contains(QStringLiteral("shared")));
    EXPECT_TRUE(refusal(bytes({0x43, 1, 0, 0, 0})).contains(QStringLiteral("other sheets")));
    EXPECT_TRUE(refusal(bytes({0x5A, 0, 0, 0, 0, 0, 0})).contains(QStringLiteral("other sheets")));
    EXPECT_TRUE(refusal(bytes({0x1E, 1, 0, 0x41, 0xFF, 0x00})).contains(QStringLiteral("not supported")));
    EXPECT_TRUE(refusal(bytes({0x1E, 1, 0, 0x41, 0x04, 0x00})).contains(QStringLiteral("wrong number")));
    EXPECT_TRUE(refusal(bytes({0x1E, 1, 0, 0x42, 0x03, 0x1B, 0x00})).contains(QStringLiteral("wrong number")));
    EXPECT_TRUE(refusal(bytes({0x1E, 1, 0, 0x42, 0x02, 0x04, 0x00})).contains(QStringLiteral("lacks its arguments")));
    EXPECT_TRUE(refusal(bytes({0x16})).contains(QStringLiteral("outside a function")));
    EXPECT_TRUE(refusal(bytes({0x16, 0x1E, 1, 0, 0x03})).contains(QStringLiteral("outside a function")));
    // SUM with one empty argument would be written "=SUM()", which reads as no arguments.
    EXPECT_TRUE(refusal(bytes({0x16, 0x22, 1, 0x04, 0x00})).contains(QStringLiteral("single empty argument")));
    EXPECT_TRUE(refusal(bytes({0x16, 0x21, 0x18, 0x00})).contains(QStringLiteral("single empty argument")));
    EXPECT_TRUE(refusal(bytes({0xFF})).contains(QStringLiteral("token 0xff at byte 0")));

    QByteArray deep = bytes({0x1E, 1, 0});
    deep.append(QByteArray(2000, 0x13));
    EXPECT_TRUE(refusal(deep).contains(QStringLiteral("nested too deeply")));
    EXPECT_TRUE(refusal(QByteArray(70000, 0x16)).contains(QStringLiteral("too long")));
}

// Whatever the bytes, the decoder either reads a formula that writes itself back
// or refuses with EngineError; nothing else escapes and nothing reads out of bounds
// (run under the sanitizer build to check the latter).
void decodeAnything(const QByteArray& tokens) {
    try {
        const auto f = Formula::fromBiff8Tokens(tokens, kD7);
        const QByteArray again = f->toBiff8Tokens(kD7);
        EXPECT_EQ(Formula::fromBiff8Tokens(again, kD7)->toR1C1(kD7), f->toR1C1(kD7));
    } catch (const EngineError&) {
    }
}

TEST_F(FormulaTokensTest, TruncatedAndMutatedTokensNeverCrash) {
    const QByteArray valid = tokensOf("=IF(RC[-1]>0,SUM(R1C1:R3C1,\"x\",1.5)*-2%,ROUND(RC,2))&\"日本\"");
    for (int length = 0; length <= valid.size(); ++length) decodeAnything(valid.left(length));

    std::mt19937 random(20240301);
    for (int round = 0; round < 20000; ++round) {
        QByteArray mutated = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c)
            mutated[static_cast<int>(random() % mutated.size())] = static_cast<char>(random() & 0xFF);
        decodeAnything(mutated.left(static_cast<int>(random() % (mutated.size() + 1))));
    }
}

TEST_F(FormulaTokensTest, RandomBytesNeverCrash) {
    std::mt19937 random(7);
    // Bytes drawn mostly from real token ids, so that deeper paths are reached.
    const int ids[] = {0x03, 0x05, 0x08, 0x0B, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x19, 0x1C,
                       0x1D, 0x1E, 0x1F, 0x21, 0x22, 0x24, 0x25, 0x2A, 0x2B, 0x41, 0x42, 0x44};
    for (int round = 0; round < 20000; ++round) {
        QByteArray b;
        const int length = static_cast<int>(random() % 48);
        for (int i = 0; i < length; ++i)
            b.append(static_cast<char>(random() % 3 == 0 ? ids[random() % std::size(ids)] : random() & 0xFF));
        decodeAnything(b);
    }
}

}  // namespace
