// The record list read from CSV bytes: quoting, line ends, header, numbers by
// locale, and every refusal with its line and column.
#include "records/records_file.h"
#include "support/isolated_environment.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

using records::RecordsFromFile;
using records::RecordsFileError;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

using Records = std::vector<generator::RecordList::Record>;

RecordsFromFile parse(const QByteArray& bytes, const QLocale& locale = kEnglish) {
    return records::parseRecordsFile(bytes, QStringLiteral("list.csv"), locale);
}

}  // namespace

TEST(RecordsFile, ReadsQuotingLineEndsHeaderAndNumbers) {
    struct Case {
        const char* what;
        QByteArray bytes;
        Records expected;
        QLocale locale = kEnglish;
    };
    const Case cases[] = {
        {"plain lines, LF", "Aldo Fennick,5600\nJohn Smith,8400\n", {{"Aldo Fennick", "5600"}, {"John Smith", "8400"}}},
        {"CR LF, no final line end, commission ignored", "A,1,999\r\nB,2,x",
         {{"A", "1"}, {"B", "2"}}},
        {"lone CR ends lines too", "A,1\rB,2\r", {{"A", "1"}, {"B", "2"}}},
        {"byte order mark and header", "\xEF\xBB\xBFName,Total sales,Commission\r\nA,1,0.1\r\n", {{"A", "1"}}},
        {"header without a commission column", "Saleperson,Total\nA,1\n", {{"A", "1"}}},
        {"quoted comma, doubled quote, line breaks kept", "\"Smith, Anna\",12500.50\n\"Say \"\"hi\"\"\nthere\r\nnow\",7\n",
         {{"Smith, Anna", "12500.50"}, {"Say \"hi\"\nthere\r\nnow", "7"}}},
        {"names and totals kept exactly, empty total allowed", "  Ann  ,\" 1,234.5 \"\nBob,\n\nann,-2e3\n",
         {{"  Ann  ", " 1,234.5 "}, {"Bob", ""}, {"ann", "-2e3"}}},
        {"UTF-8 names, a quoted empty commission", "Zoë Ångström,10,\"\"\n王小明,20\n",
         {{"Zoë Ångström", "10"}, {"王小明", "20"}}},
        {"a byte order mark inside a field is text", "\"\xEF\xBB\xBFX\",1\n", {{QChar(0xFEFF) + QString("X"), "1"}}},
        {"numbers by the locale", "A;1,5\nB,\"1.234,5\"\n", {{"A;1", "5"}, {"B", "1.234,5"}}, kGerman},
        {"only a header", "Name,Total\n", {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        const RecordsFromFile read = parse(c.bytes, c.locale);
        const auto* list = std::get_if<generator::RecordList>(&read);
        ASSERT_NE(list, nullptr) << c.what << ": " << qPrintable(std::get<RecordsFileError>(read).text());
        ASSERT_EQ(list->records().size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(list->records()[i].name, c.expected[i].name) << c.what << ", record " << i + 1;
            EXPECT_EQ(list->records()[i].total, c.expected[i].total) << c.what << ", record " << i + 1;
        }
        EXPECT_TRUE(list->percentageText().isEmpty()) << c.what;
    }
}

TEST(RecordsFile, RefusesWithLineAndColumn) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;
        int column;
        const char* message;
    };
    const Case cases[] = {
        {"a bad number", "A,1\nB,12x\n", 2, 2, "\"12x\" is not a number (numbers are read by the rules of the locale en_US)"},
        {"a mistyped first amount is no header", "Aldo,56O0\n", 1, 2, "\"56O0\" is not a number"},
        {"a missing column", "A,1\nB\n", 2, 2, "the total sales amount is missing"},
        {"a line of a million commas, at its field one too many", "A,1" + QByteArray(1000000, ',') + "\n", 1, 257, "a line holds at most 256 fields"},
        {"an empty name", "A,1\n  ,2\n", 2, 1, "the salesperson's name is missing"},
        {"the field separator in a name", "A||SEP1||B,1\n", 1, 1, "a name may not contain \"||SEP1||\" or \"||SEP2||\""},
        {"a name that would form a separator", "A||SEP2|,1\n", 1, 1, "a name may not contain"},
        {"a name longer than a cell holds", "A,1\n" + QByteArray(32768, 'N') + ",2\n", 2, 1, "the text is longer than the 32,767 characters"},
        {"a name twice", "Name,Total\nA,1\nB,2\nA,3\n", 4, 1, "\"A\" is listed twice (first on line 2)"},
        {"a long name twice, quoted shortened", QByteArray(70, 'L') + ",1\n" + QByteArray(70, 'L') + ",2\n", 2, 1,
         "\"LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL\u2026\" is listed twice"},
        {"a noncharacter in a name", "A,1\nB\xEF\xBF\xBE,2\n", 2, 1,
         "the name holds U+FFFE (a noncharacter) at character 2, which workbook files cannot carry"},
        {"an escape in a name", "\xF0\x9F\x98\x80\x1B[31m,1\n", 1, 1, "the name holds U+001B (a control character) at character 2"},
        {"invalid UTF-8", "A,1\n\"B\xC3\",2\n", 2, 1, "the text is not valid UTF-8"},
        {"an overlong encoding", "A,1,\xC0\xAF\n", 1, 3, "the text is not valid UTF-8"},
        {"an unterminated quote, where it opens", "A,1\n\"B,2\nC,3\n", 2, 1, "the quoted field opened here has no closing quote"},
        {"text after a closing quote", "A,\"1\"2\n", 1, 2, "text follows the closing quote"},
        {"line numbers count breaks inside quotes", "\"A\nB\",1\nC,x\n", 3, 2, "\"x\" is not a number"},
    };
    for (const Case& c : cases) {
        const RecordsFromFile read = parse(c.bytes);
        const auto* error = std::get_if<RecordsFileError>(&read);
        ASSERT_NE(error, nullptr) << c.what;
        EXPECT_EQ(error->file, "list.csv") << c.what;
        EXPECT_EQ(error->line, c.line) << c.what;
        EXPECT_EQ(error->column, c.column) << c.what;
        EXPECT_TRUE(error->message.startsWith(QString::fromUtf8(c.message))) << c.what << ": " << qPrintable(error->message);
        EXPECT_TRUE(error->text().startsWith(QStringLiteral("list.csv:%1:%2: ").arg(c.line).arg(c.column))) << c.what;
    }
}

TEST(RecordsFile, HoldsAtMost32767Records) {
    QByteArray bytes = "Name,Total\n";
    for (int i = 1; i <= 32767; ++i) bytes += "P" + QByteArray::number(i) + ",1\n";
    const RecordsFromFile full = parse(bytes);
    ASSERT_TRUE(std::holds_alternative<generator::RecordList>(full));
    EXPECT_EQ(std::get<generator::RecordList>(full).recordCount(), 32767);

    bytes += "One too many,1\n";
    const RecordsFromFile over = parse(bytes);
    ASSERT_TRUE(std::holds_alternative<RecordsFileError>(over));
    EXPECT_EQ(std::get<RecordsFileError>(over).text(),
              "list.csv:32769:1: the list holds at most 32,767 records; this is one more");
}

TEST(RecordsFile, FilesThatCannotBeReadAreRefusedWhole) {
    IsolatedEnvironment env;
    const QString missing = QDir(env.tempFolder()).filePath("missing.csv");
    const RecordsFromFile read = records::readRecordsFile(missing, kEnglish);
    ASSERT_TRUE(std::holds_alternative<RecordsFileError>(read));
    EXPECT_EQ(std::get<RecordsFileError>(read).line, 0);
    EXPECT_TRUE(std::get<RecordsFileError>(read).text().startsWith(missing + ": "));

    const RecordsFromFile endless = records::readRecordsFile("/dev/zero", kEnglish);
    ASSERT_TRUE(std::holds_alternative<RecordsFileError>(endless));
    EXPECT_EQ(std::get<RecordsFileError>(endless).text(),
              "/dev/zero: the file is larger than 64 MiB, too large for a record list");

    const QString file = QDir(env.tempFolder()).filePath("list.csv");
    ASSERT_TRUE(writeFileContents(file, "Ann,5\n"));
    const RecordsFromFile read2 = records::readRecordsFile(file, kEnglish);
    ASSERT_TRUE(std::holds_alternative<generator::RecordList>(read2));
    EXPECT_EQ(std::get<generator::RecordList>(read2).recordName(1), "Ann");
}
