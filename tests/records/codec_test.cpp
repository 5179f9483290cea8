#include "records/saved_list_codec.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

using records::containsSeparator;
using records::encodeRecord;
using records::fieldAt;
using records::splitFields;
using records::splitRecordTexts;

TEST(SavedListCodec, SampleListEncodesExactly) {
    const QString value = encodeRecord(QStringLiteral("Aldo Fennick"), QStringLiteral("5600"), QStringLiteral("560")) +
                          encodeRecord(QStringLiteral("John Smith"), QStringLiteral("8400"), QStringLiteral("840")) +
                          encodeRecord(QStringLiteral("Zodo Duvevado"), QStringLiteral("11100"), QStringLiteral("1110"));
    EXPECT_EQ(value, QStringLiteral("Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||"
                                    "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||"));

    const QStringList records = splitRecordTexts(value);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records.last(), QString());
    EXPECT_EQ(splitFields(records[1]), (QStringList{"John Smith", "8400", "840"}));
}

TEST(SavedListCodec, EmptyValueHasNoRecords) {
    EXPECT_TRUE(splitRecordTexts(QString()).isEmpty());
    EXPECT_TRUE(splitRecordTexts(QStringLiteral("")).isEmpty());
}

TEST(SavedListCodec, LastPieceWithoutTerminatorStillCounts) {
    const QStringList records = splitRecordTexts(QStringLiteral("A||SEP1||1||SEP1||2||SEP2||B||SEP1||3||SEP1||4"));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(splitFields(records[1]), (QStringList{"B", "3", "4"}));
}

TEST(SavedListCodec, DoubledTerminatorGivesAnEmptyRecordText) {
    const QStringList records = splitRecordTexts(QStringLiteral("A||SEP1||1||SEP1||2||SEP2||||SEP2||B||SEP1||3||SEP1||4||SEP2||"));
    EXPECT_EQ(records, (QStringList{"A||SEP1||1||SEP1||2", "", "B||SEP1||3||SEP1||4", ""}));
}

TEST(SavedListCodec, EmptyFieldsAndBlanksAreKept) {
    const QString value = encodeRecord(QStringLiteral("  Pad "), QString(), QStringLiteral(" 1 "));
    EXPECT_EQ(value, QStringLiteral("  Pad ||SEP1||||SEP1|| 1 ||SEP2||"));
    EXPECT_EQ(splitFields(splitRecordTexts(value)[0]), (QStringList{"  Pad ", "", " 1 "}));
}

TEST(SavedListCodec, DuplicatesLoadAsSeparateRecords) {
    const QString one = encodeRecord(QStringLiteral("Same"), QStringLiteral("1"), QStringLiteral("0.1"));
    const QStringList records = splitRecordTexts(one + one);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0], records[1]);
}

TEST(SavedListCodec, SeparatorsAreMatchedExactly) {
    EXPECT_EQ(splitFields(QStringLiteral("a||sep1||b|SEP1|c||SEP1|d")).size(), 1);
    EXPECT_EQ(splitRecordTexts(QStringLiteral("a||sep2||b")).size(), 1);
    // "|||SEP1|||" holds one separator with a bar on either side.
    EXPECT_EQ(splitFields(QStringLiteral("a|||SEP1|||b")), (QStringList{"a|", "|b"}));
}

TEST(SavedListCodec, FieldsAfterTheThirdAreThereButMissingOnesFail) {
    const QStringList many = splitFields(QStringLiteral("N||SEP1||1||SEP1||2||SEP1||extra"));
    ASSERT_EQ(many.size(), 4);
    EXPECT_EQ(fieldAt(many, 0), QStringLiteral("N"));
    EXPECT_EQ(fieldAt(many, 2), QStringLiteral("2"));

    const QStringList nameOnly = splitFields(QStringLiteral("Name alone"));
    EXPECT_EQ(fieldAt(nameOnly, 0), QStringLiteral("Name alone"));
    try {
        fieldAt(nameOnly, 1);
        FAIL() << "a missing field must fail";
    } catch (const shell::Failure& failure) {
        EXPECT_EQ(failure.description(), QStringLiteral("The saved record \"Name alone\" has no total sales amount."));
    }
    EXPECT_THROW(fieldAt(nameOnly, 2), shell::Failure);
    EXPECT_THROW(fieldAt(nameOnly, -1), shell::Failure);
}

TEST(SavedListCodec, RoundTripOfTextsWithoutSeparators) {
    const QList<QStringList> rows = {
        {"Ünïcødé 😀", "1.234,56", "92,592"}, {"a|b||c", "||", "|SEP1|"}, {"", "", ""}, {"x\ny", "\t", " "}};
    QString value;
    for (const QStringList& row : rows) value += encodeRecord(row[0], row[1], row[2]);
    QList<QStringList> decoded;
    for (const QString& text : splitRecordTexts(value))
        if (!text.isEmpty()) decoded << splitFields(text);
    // The all-empty row encodes to a non-empty text, so it comes back too.
    EXPECT_EQ(decoded, rows);
}

TEST(SavedListCodec, SeparatorTest) {
    EXPECT_TRUE(containsSeparator(QStringLiteral("Bob||SEP1||")));
    EXPECT_TRUE(containsSeparator(QStringLiteral("x||SEP2||y")));
    EXPECT_FALSE(containsSeparator(QStringLiteral("||sep1|| |SEP2| ||SEP3||")));
    EXPECT_FALSE(containsSeparator(QString()));
}
