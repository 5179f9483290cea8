// Reading formula texts: precedence, reference forms in both styles, canonical
// texts, and the descriptions of formulas that cannot be read.
#include "engine/formula/formula.h"
#include "engine/model/engine_error.h"
#include "support/qt_gtest_printers.h"
#include "support/isolated_environment.h"

#include <cstring>
#include <gtest/gtest.h>

using engine::CellAddress;
using engine::EngineError;
using engine::formula::Formula;
using engine::formula::ReferenceStyle;

namespace {

constexpr CellAddress kD7{6, 3};

class FormulaParserTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;

    static QString r1c1(const QString& text, CellAddress at = kD7) {
        return Formula::parse(text, ReferenceStyle::R1C1, at)->toR1C1(at);
    }
    static QString a1(const QString& text, CellAddress at = kD7) {
        return Formula::parse(text, ReferenceStyle::A1, at)->toA1(at);
    }
    // The description of the failure, or "" when the text is accepted.
    static QString failure(const QString& text, ReferenceStyle style = ReferenceStyle::R1C1, CellAddress at = kD7) {
        try {
            Formula::parse(text, style, at);
        } catch (const EngineError& e) {
            return e.description();
        }
        return QString();
    }
};

TEST_F(FormulaParserTest, LayoutFormulasConvertBetweenStyles) {
    const auto f = Formula::parse(QStringLiteral("=RC[-1]*R[-3]C[-2]"), ReferenceStyle::R1C1, kD7);
    EXPECT_EQ(f->toR1C1(kD7), QStringLiteral("=RC[-1]*R[-3]C[-2]"));
    EXPECT_EQ(f->toA1(kD7), QStringLiteral("=C7*B4"));
    // Relative references move with the cell that holds the formula.
    EXPECT_EQ(f->toA1(CellAddress{7, 3}), QStringLiteral("=C8*B5"));

    const CellAddress c10{9, 2};
    EXPECT_EQ(Formula::parse(QStringLiteral("=SUM(R[-3]C:R[-1]C)"), ReferenceStyle::R1C1, c10)->toA1(c10),
              QStringLiteral("=SUM(C7:C9)"));
    const CellAddress c4{3, 2};
    const auto total = Formula::parse(QStringLiteral("=R[+6]C"), ReferenceStyle::R1C1, c4);
    EXPECT_EQ(total->toR1C1(c4), QStringLiteral("=R[6]C"));
    EXPECT_EQ(total->toA1(c4), QStringLiteral("=C10"));
}

TEST_F(FormulaParserTest, EveryReferenceFormInBothStyles) {
    // R1C1 text, the same formula in A1 style, both seen from D7.
    const std::pair<const char*, const char*> cases[] = {
        {"=RC", "=D7"},
        {"=R4C2", "=$B$4"},
        {"=R4C[-2]", "=B$4"},
        {"=R[-3]C2", "=$B4"},
        {"=R[-6]C[-3]", "=A1"},
        {"=R1C1:R3C2", "=$A$1:$B$3"},
        {"=R[-6]C[-3]:R[-4]C[-2]", "=A1:B3"},
        {"=R65536C256", "=$IV$65536"},
        {"=R[65529]C[252]", "=IV65536"},
    };
    for (const auto& [r1c1Text, a1Text] : cases) {
        EXPECT_EQ(r1c1(QString::fromLatin1(r1c1Text)), QString::fromLatin1(r1c1Text));
        EXPECT_EQ(Formula::parse(QString::fromLatin1(r1c1Text), ReferenceStyle::R1C1, kD7)->toA1(kD7),
                  QString::fromLatin1(a1Text));
        EXPECT_EQ(a1(QString::fromLatin1(a1Text)), QString::fromLatin1(a1Text));
        EXPECT_EQ(Formula::parse(QString::fromLatin1(a1Text), ReferenceStyle::A1, kD7)->toR1C1(kD7),
                  QString::fromLatin1(r1c1Text));
    }
}

TEST_F(FormulaParserTest, CanonicalTextDropsBlanksAndPlusSignsAndCapitalises) {
    EXPECT_EQ(r1c1(QStringLiteral("= rc[-1] * r[+2]c[+0]")), QStringLiteral("=RC[-1]*R[2]C"));
    EXPECT_EQ(a1(QStringLiteral("=sum( a1 : b2 , $c$3 )")), QStringLiteral("=SUM(A1:B2,$C$3)"));
    EXPECT_EQ(a1(QStringLiteral("=true<>false")), QStringLiteral("=TRUE<>FALSE"));
    EXPECT_EQ(a1(QStringLiteral("=#div/0!")), QStringLiteral("=#DIV/0!"));
    EXPECT_EQ(a1(QStringLiteral("=1.50e3+.5+1E-7+5.")), QStringLiteral("=1500+0.5+1E-07+5"));
    // Too small for a double reads as 0.
    EXPECT_EQ(a1(QStringLiteral("=1e-400")), QStringLiteral("=0"));
}

TEST_F(FormulaParserTest, ParenthesesAndPrecedenceAreKept) {
    EXPECT_EQ(a1(QStringLiteral("=(1+2)*3")), QStringLiteral("=(1+2)*3"));
    EXPECT_EQ(a1(QStringLiteral("=1+2*3^2%")), QStringLiteral("=1+2*3^2%"));
    EXPECT_EQ(a1(QStringLiteral("=-2^-2")), QStringLiteral("=-2^-2"));
    EXPECT_EQ(a1(QStringLiteral("=--5%")), QStringLiteral("=--5%"));
    EXPECT_EQ(a1(QStringLiteral("=\"a\"&1+2=\"a3\"")), QStringLiteral("=\"a\"&1+2=\"a3\""));
}

TEST_F(FormulaParserTest, TextLiteralsDoubleTheirQuotes) {
    EXPECT_EQ(a1(QStringLiteral("=\"say \"\"hi\"\"\"")), QStringLiteral("=\"say \"\"hi\"\"\""));
    EXPECT_EQ(a1(QStringLiteral("=\"\"")), QStringLiteral("=\"\""));
    EXPECT_EQ(a1(QStringLiteral("=\"=A1, (x)\"")), QStringLiteral("=\"=A1, (x)\""));
}

TEST_F(FormulaParserTest, FunctionCallsWithEmptyAndManyArguments) {
    EXPECT_EQ(a1(QStringLiteral("=IF(A1,,2)")), QStringLiteral("=IF(A1,,2)"));
    EXPECT_EQ(a1(QStringLiteral("=ROUND(AVERAGE(A1:A3),2)")), QStringLiteral("=ROUND(AVERAGE(A1:A3),2)"));
    EXPECT_EQ(a1(QStringLiteral("=CONCATENATE(\"a\",UPPER(\"b\"),LEN(\"cd\"))")),
              QStringLiteral("=CONCATENATE(\"a\",UPPER(\"b\"),LEN(\"cd\"))"));
    QString thirty = QStringLiteral("=SUM(1");
    for (int i = 1; i < 30; ++i) thirty += QStringLiteral(",1");
    EXPECT_EQ(a1(thirty + u')'), thirty + u')');
    EXPECT_TRUE(failure(thirty + QStringLiteral(",1)")).contains(QStringLiteral("at most 30 arguments")));
}

TEST_F(FormulaParserTest, SyntaxErrorsAreDescribed) {
    const std::pair<const char*, const char*> cases[] = {
        {"=(1+2", "a closing parenthesis is missing"},
        {"=1+2)", "without a matching"},
        {"=SUM(1,2", "a closing parenthesis is missing"},
        {"=1+", "a value is missing after \"+\""},
        {"=1*/2", "a value is missing after \"*\""},
        {"=", "the formula is empty"},
        {"=1 2", "\"2\" is not expected here"},
        {"=\"open", "closing quotation mark"},
        {"=1;2", "the character \";\" is not allowed"},
        {"=#WHAT?", "not a valid error value"},
        {"=1e999", "too large"},
        {"1+2", "starts with \"=\""},
        {"=1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26+27+28+29+30+", "a value is missing"},
    };
    for (const auto& [text, reason] : cases) {
        const QString description = failure(QString::fromLatin1(text));
        // The formula quoted, a long one cut short.
        EXPECT_TRUE(description.startsWith(QStringLiteral("There is a problem with the formula \"%1\"")
                                               .arg(QString::fromLatin1(text).left(60) +
                                                    (std::strlen(text) > 60 ? QStringLiteral("\u2026") : QString()))))
            << text << " -> " << description.toStdString();
        EXPECT_TRUE(description.contains(QString::fromLatin1(reason))) << text << " -> " << description.toStdString();
    }
}

TEST_F(FormulaParserTest, UnknownFunctionsNamesAndWrongArgumentCountsFail) {
    EXPECT_TRUE(failure(QStringLiteral("=FOO(1)")).contains(QStringLiteral("the function FOO does not exist")));
    EXPECT_TRUE(failure(QStringLiteral("=IFERROR(1,2)")).contains(QStringLiteral("does not exist")));
    EXPECT_TRUE(failure(QStringLiteral("=Total*2")).contains(QStringLiteral("the name \"Total\" is not defined")));
    EXPECT_TRUE(failure(QStringLiteral("=ROUND(1)")).contains(QStringLiteral("ROUND takes 2 arguments, not 1")));
    EXPECT_TRUE(failure(QStringLiteral("=ROUND(1,2,3)")).contains(QStringLiteral("ROUND takes 2 arguments, not 3")));
    EXPECT_TRUE(failure(QStringLiteral("=SUM()")).contains(QStringLiteral("SUM takes at least 1 argument")));
    EXPECT_TRUE(failure(QStringLiteral("=IF(1)")).contains(QStringLiteral("at least 2 arguments")));
}

TEST_F(FormulaParserTest, ReferencesOutsideTheSheetFail) {
    const CellAddress row1{0, 2};
    EXPECT_TRUE(failure(QStringLiteral("=R[-7]C"), ReferenceStyle::R1C1, row1)
                    .contains(QStringLiteral("the reference R[-7]C lies outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=RC[-3]"), ReferenceStyle::R1C1, row1).contains(QStringLiteral("outside")));
    EXPECT_TRUE(failure(QStringLiteral("=R0C1")).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=R65537C1")).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=R1C257")).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=R[99999999999]C")).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=IW1"), ReferenceStyle::A1).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=A0"), ReferenceStyle::A1).contains(QStringLiteral("outside the sheet")));
    EXPECT_TRUE(failure(QStringLiteral("=A65537"), ReferenceStyle::A1).contains(QStringLiteral("outside the sheet")));
    EXPECT_EQ(failure(QStringLiteral("=R[-6]C"), ReferenceStyle::R1C1, CellAddress{6, 0}), QString());
}

TEST_F(FormulaParserTest, NothingReachesOutsideTheWorkbook) {
    for (const char* text : {"=Sheet2!A1", "='My Sheet'!A1", "=[Book.xls]Sheet1!A1", "=C:\\x"}) {
        const QString description = failure(QString::fromLatin1(text), ReferenceStyle::A1);
        EXPECT_FALSE(description.isEmpty()) << text;
    }
    EXPECT_TRUE(failure(QStringLiteral("=Sheet2!A1"), ReferenceStyle::A1)
                    .contains(QStringLiteral("other sheets or workbooks are not supported")));
}

TEST_F(FormulaParserTest, StylesDoNotMix) {
    EXPECT_FALSE(failure(QStringLiteral("=A1"), ReferenceStyle::R1C1).isEmpty());
    EXPECT_FALSE(failure(QStringLiteral("=RC[-1]"), ReferenceStyle::A1).isEmpty());
    // In A1 style R1 is just a cell of column R.
    EXPECT_EQ(a1(QStringLiteral("=R1")), QStringLiteral("=R1"));
}

TEST_F(FormulaParserTest, LengthLimitsAreEnforced) {
    const QString longest = u'=' + QStringLiteral("1+").repeated(511) + u'1';
    ASSERT_EQ(longest.size(), 1024);
    EXPECT_EQ(failure(longest), QString());
    EXPECT_TRUE(failure(longest + QStringLiteral("1")).contains(QStringLiteral("limited to 1024 characters")));
    const QString longText = QStringLiteral("=\"") + QString(256, u'x') + u'"';
    EXPECT_TRUE(failure(longText).contains(QStringLiteral("limited to 255 characters")));
    // Deep nesting within the length limit is read.
    EXPECT_EQ(failure(u'=' + QString(500, u'(') + u'1' + QString(500, u')')), QString());
}

}  // namespace
