#include "records/saved_list_codec.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

using records::ContainsSeparator;
using records::EncodeRecord;
using records::FieldAt;
using records::SplitFields;
using records::SplitRecordTexts;

TEST(SavedListCodec, SampleListEncodesExactly) {
    const QString value = EncodeRecord(QStringLiteral("Aldo Fennick"), QStringLiteral("5600"), QStringLiteral("560")) +
                          EncodeRecord(QStringLiteral("John Smith"), QStringLiteral("8400"), QStringLiteral("840")) +
                          EncodeRecord(QStringLiteral("Zodo Duvevado"), QStringLiteral("11100"), QStringLiteral("1110"));
    EXPECT_EQ(value, QStringLiteral("Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||"
                                    "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||"));

    const QStringList records = SplitRecordTexts(value);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records.last(), QString());
    EXPECT_EQ(SplitFields(records[1]), (QStringList{"John Smith", "8400", "840"}));
}

TEST(SavedListCodec, EmptyValueHasNoRecords) {
    EXPECT_TRUE(SplitRecordTexts(QString()).isEmpty());
    EXPECT_TRUE(SplitRecordTexts(QStringLiteral("")).isEmpty());
}

TEST(SavedListCodec, LastPieceWithoutTerminatorStillCounts) {
    const QStringList records = SplitRecordTexts(QStringLiteral("A||SEP1||1||SEP1||2||SEP2||B||SEP1||3||SEP1||4"));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(SplitFields(records[1]), (QStringList{"B", "3", "4"}));
}

TEST(SavedListCodec, DoubledTerminatorGivesAnEmptyRecordText) {
    const QStringList records = SplitRecordTexts(QStringLiteral("A||SEP1||1||SEP1||2||SEP2||||SEP2||B||SEP1||3||SEP1||4||SEP2||"));
    EXPECT_EQ(records, (QStringList{"A||SEP1||1||SEP1||2", "", "B||SEP1||3||SEP1||4", ""}));
}

TEST(SavedListCodec, EmptyFieldsAndBlanksAreKept) {
    const QString value = EncodeRecord(QStringLiteral("  Pad "), QString(), QStringLiteral(" 1 "));
    EXPECT_EQ(value, QStringLiteral("  Pad ||SEP1||||SEP1|| 1 ||SEP2||"));
    EXPECT_EQ(SplitFields(SplitRecordTexts(value)[0]), (QStringList{"  Pad ", "", " 1 "}));
}

TEST(SavedListCodec, DuplicatesLoadAsSeparateRecords) {
    const QString one = EncodeRecord(QStringLiteral("Same"), QStringLiteral("1"), QStringLiteral("0.1"));
    const QStringList records = SplitRecordTexts(one + one);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0], records[1]);
}

TEST(SavedListCodec, SeparatorsAreMatchedExactly) {
    EXPECT_EQ(SplitFields(QStringLiteral("a||sep1||b|SEP1|c||SEP1|d")).size(), 1);
    EXPECT_EQ(SplitRecordTexts(QStringLiteral("a||sep2||b")).size(), 1);
    // "|||SEP1|||" holds one separator with a bar on either side.
    EXPECT_EQ(SplitFields(QStringLiteral("a|||SEP1|||b")), (QStringList{"a|", "|b"}));
}

TEST(SavedListCodec, FieldsAfterTheThirdAreThereButMissingOnesFail) {
    const QStringList many = SplitFields(QStringLiteral("N||SEP1||1||SEP1||2||SEP1||extra"));
    ASSERT_EQ(many.size(), 4);
    EXPECT_EQ(FieldAt(many, 0), QStringLiteral("N"));
    EXPECT_EQ(FieldAt(many, 2), QStringLiteral("2"));

    const QStringList nameOnly = SplitFields(QStringLiteral("Name alone"));
    EXPECT_EQ(FieldAt(nameOnly, 0), QStringLiteral("Name alone"));
    try {
        FieldAt(nameOnly, 1);
        FAIL() << "a missing field must fail";
    } catch (const shell::Failure& failure) {
        EXPECT_EQ(failure.description(), QStringLiteral("The saved record \"Name alone\" has no total sales amount."));
    }
    EXPECT_THROW(FieldAt(nameOnly, 2), shell::Failure);
    EXPECT_THROW(FieldAt(nameOnly, -1), shell::Failure);
}

TEST(SavedListCodec, RoundTripOfTextsWithoutSeparators) {
    const QList<QStringList> rows = {
        {"Ünïcødé 😀", "1.234,56", "92,592"}, {"a|b||c", "||", "|SEP1|"}, {"", "", ""}, {"x\ny", "\t", " "}};
    QString value;
    for (const QStringList& row : rows) value += EncodeRecord(row[0], row[1], row[2]);
    QList<QStringList> decoded;
    for (const QString& text : SplitRecordTexts(value))
        if (!text.isEmpty()) decoded << SplitFields(text);
    // The all-empty row encodes to a non-empty text, so it comes back too.
    EXPECT_EQ(decoded, rows);
}

TEST(SavedListCodec, SeparatorTest) {
    EXPECT_TRUE(ContainsSeparator(QStringLiteral("Bob||SEP1||")));
    EXPECT_TRUE(ContainsSeparator(QStringLiteral("x||SEP2||y")));
    EXPECT_FALSE(ContainsSeparator(QStringLiteral("||sep1|| |SEP2| ||SEP3||")));
    EXPECT_FALSE(ContainsSeparator(QString()));
}
