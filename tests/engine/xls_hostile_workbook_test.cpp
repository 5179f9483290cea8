// Damaged and hostile workbooks: every defect ends in EngineError with a
// description, never a crash, a hang or an allocation beyond the file's size.
#include "engine/xls_test_workbooks.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/compound_file_writer.h"
#include "engine/xls/xls_reader.h"
#include "engine/xls/xls_writer.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace engine;
namespace rt = engine::xls::rt;

namespace {

QByteArray validStream() {
    auto wb = xls_test::commissionWorkbook(xls_test::sampleRecords(), 10);
    return xls::buildWorkbookStream(*wb);
}

// Stream position of the n-th record of a type (its header).
qsizetype findRecord(const QByteArray& stream, std::uint16_t type, int nth = 0) {
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        const auto t = xls::readU16(stream.constData() + pos);
        if (t == type && nth-- == 0) return pos;
        pos += 4 + xls::readU16(stream.constData() + pos + 2);
    }
    ADD_FAILURE() << "no record of type " << type;
    return 0;
}

void put16(QByteArray& b, qsizetype at, std::uint16_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray& b, qsizetype at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// Opens the stream in a container; the description of the failure, or empty.
QString openStream(const QByteArray& stream) {
    try {
        xls::readWorkbookBytes(xls::buildCompoundFile({{QStringLiteral("Workbook"), stream}}));
        return {};
    } catch (const EngineError& e) {
        return e.description();
    }
}

// Expects the damaged stream to be refused with a description containing `words`.
void expectRefused(const QByteArray& stream, const QString& words) {
    const QString error = openStream(stream);
    EXPECT_TRUE(error.contains(words)) << "got: " << error.toStdString() << "\nexpected: " << words.toStdString();
}

}  // namespace

TEST(XlsHostileWorkbook, TheValidStreamOpens) {
    IsolatedEnvironment env;
    EXPECT_TRUE(openStream(validStream()).isEmpty());
}

TEST(XlsHostileWorkbook, TruncatedStreamsAreRefused) {
    IsolatedEnvironment env;
    const QByteArray stream = validStream();
    for (qsizetype cut = 0; cut < stream.size(); cut += 37) EXPECT_FALSE(openStream(stream.left(cut)).isEmpty()) << cut;
}

TEST(XlsHostileWorkbook, RecordsLongerThanTheirStreamAreRefused) {
    IsolatedEnvironment env;
    QByteArray s = validStream();
    put16(s, findRecord(s, rt::kEof, 1) + 2, 0x2000);  // the sheet's last record claims 8 KB
    expectRefused(s, QStringLiteral("longer than the workbook stream"));

    s = validStream();
    put16(s, findRecord(s, rt::kFont) + 2, 4);  // a FONT record too short for its fields
    expectRefused(s, QStringLiteral("ends before its content does"));
}

TEST(XlsHostileWorkbook, IndexesThatPointNowhereAreRefused) {
    IsolatedEnvironment env;
    {
        QByteArray s = validStream();
        put32(s, findRecord(s, rt::kLabelSst) + 4 + 6, 99999);
        expectRefused(s, QStringLiteral("shared text that does not exist"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kLabelSst) + 4 + 4, 4000);
        expectRefused(s, QStringLiteral("cell format 4000"));
    }
    for (std::uint16_t font : {4, 300}) {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kXf, 21) + 4, font);
        expectRefused(s, QStringLiteral("font %1").arg(font));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kXf, 21) + 4 + 2, 300);
        expectRefused(s, QStringLiteral("number format 300"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kLabelSst) + 4 + 2, 300);  // column 300
        expectRefused(s, QStringLiteral("outside the sheet"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kName) + 4 + 17, 7);  // EXTERNSHEET entry 7 of 1
        expectRefused(s, QStringLiteral("sheet reference that does not exist"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kName) + 4 + 8, 9);  // local to sheet 9 of 1
        expectRefused(s, QStringLiteral("sheet that does not exist"));
    }
}

TEST(XlsHostileWorkbook, AbsurdCountsAndOffsetsAreRefused) {
    IsolatedEnvironment env;
    {
        QByteArray s = validStream();
        put32(s, findRecord(s, rt::kSst) + 4 + 4, 0x7FFFFFFF);  // two billion texts
        expectRefused(s, QStringLiteral("shared text table"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kMergedCells) + 4, 60000);
        expectRefused(s, QStringLiteral("more merged areas than it holds"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kPalette) + 4, 5000);
        expectRefused(s, QStringLiteral("more than 56 colours"));
    }
    {
        QByteArray s = validStream();
        put32(s, findRecord(s, rt::kBoundSheet) + 4, 0x7FFFFFF0);
        expectRefused(s, QStringLiteral("lies outside the workbook"));
    }
    {
        QByteArray s = validStream();
        put32(s, findRecord(s, rt::kBoundSheet) + 4, findRecord(s, rt::kSst));  // not a sheet's start
        expectRefused(s, QStringLiteral("does not start where the workbook says"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kExternSheet) + 4, 9000);
        expectRefused(s, QStringLiteral("lists more sheets than it holds"));
    }
}

TEST(XlsHostileWorkbook, MillionsOfBlankCellsAreRefused) {
    IsolatedEnvironment env;
    // Rows of 256 formatted blank cells at two bytes each: 4,000 rows list more than
    // a million cells in a stream of 2 MB.
    QByteArray s = validStream();
    s.chop(4);  // the sheet's EOF
    for (int row = 100; row < 4100; ++row) {
        QByteArray record;
        xls::ByteWriter w(record);
        w.u16(rt::kMulBlank);
        w.u16(4 + 2 * 256 + 2);
        w.u16(row);
        w.u16(0);
        for (int col = 0; col < 256; ++col) w.u16(15);
        w.u16(255);
        s.append(record);
    }
    s.append(QByteArray("\x0A\x00\x00\x00", 4));
    expectRefused(s, QStringLiteral("more cells than can be opened"));
}

TEST(XlsHostileWorkbook, BrokenFormulasAndMissingPartsAreRefused) {
    IsolatedEnvironment env;
    {
        QByteArray s = validStream();
        const qsizetype f = findRecord(s, rt::kFormula);
        s[f + 4 + 22] = char(0xFF);  // first token: no such token
        expectRefused(s, QStringLiteral("the formula in cell"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kFormula) + 4 + 20, 500);  // more tokens than the record holds
        expectRefused(s, QStringLiteral("ends before its content does"));
    }
    {
        QByteArray s = validStream();
        s.chop(4);  // the sheet's EOF
        expectRefused(s, QStringLiteral("ends without its end record"));
    }
    {
        QByteArray s = validStream();
        put16(s, 4, 0x0500);  // an older BIFF version
        expectRefused(s, QStringLiteral("older format"));
    }
    {
        QByteArray s = validStream();
        put16(s, findRecord(s, rt::kCodePage), rt::kFilePass);
        expectRefused(s, QStringLiteral("password"));
    }
    expectRefused(QByteArray(5000, '\x17'), QStringLiteral("not an Excel 97-2003 workbook"));
    EXPECT_FALSE(openStream(QByteArray()).isEmpty());
}

// A selection the sheet cannot have is left out, and the sheet opens at A1; the
// first row shows that the reader does take a selection that fits.
TEST(XlsHostileWorkbook, SelectionsThatDoNotFitOpenAtA1) {
    IsolatedEnvironment env;
    struct Case {
        const char* what;
        std::uint16_t activeRow, activeCol, activeArea, count, firstRow, lastRow;
        std::uint8_t firstCol, lastCol;
        CellArea expected;
    };
    const CellArea a1{};
    const Case cases[] = {
        {"C3:D5 at C3", 2, 2, 0, 1, 2, 4, 2, 3, CellArea{2, 2, 4, 3}},
        {"active cell outside the area", 9, 9, 0, 1, 2, 4, 2, 3, a1},
        {"rows upside down", 4, 2, 0, 1, 4, 2, 2, 3, a1},
        {"columns upside down", 2, 3, 0, 1, 2, 4, 3, 2, a1},
        {"active area beyond the count", 2, 2, 1, 1, 2, 4, 2, 3, a1},
        {"no areas", 2, 2, 0, 0, 2, 4, 2, 3, a1},
        {"more areas than the record holds", 2, 2, 0, 9, 2, 4, 2, 3, a1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray s = validStream();
        const qsizetype body = findRecord(s, rt::kSelection) + 4;
        put16(s, body + 1, c.activeRow);
        put16(s, body + 3, c.activeCol);
        put16(s, body + 5, c.activeArea);
        put16(s, body + 7, c.count);
        put16(s, body + 9, c.firstRow);
        put16(s, body + 11, c.lastRow);
        s[body + 13] = char(c.firstCol);
        s[body + 14] = char(c.lastCol);
        const WorkbookData wb = xls::readWorkbookBytes(xls::buildCompoundFile({{QStringLiteral("Workbook"), s}}));
        EXPECT_EQ(wb.sheets.at(0)->selection, c.expected);
    }
}

TEST(XlsHostileWorkbook, RandomDamageNeverCrashesOrHangs) {
    IsolatedEnvironment env;
    const QByteArray good = validStream();
    const QByteArray goodFile = xls::buildCompoundFile({{QStringLiteral("Workbook"), good}});
    QRandomGenerator rng(20240611);
    int refused = 0;
    for (int round = 0; round < 1000; ++round) {
        const bool wholeFile = round % 3 == 0;
        QByteArray b = wholeFile ? goodFile : good;
        const int hits = 1 + rng.bounded(6);
        for (int h = 0; h < hits; ++h) b[rng.bounded(int(b.size()))] = char(rng.bounded(256));
        try {
            xls::readWorkbookBytes(wholeFile ? b : xls::buildCompoundFile({{QStringLiteral("Workbook"), b}}));
        } catch (const EngineError& e) {
            EXPECT_FALSE(e.description().isEmpty());
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(XlsHostileWorkbook, FailuresNameTheFile) {
    IsolatedEnvironment env;
    const QDir dir(env.tempFolder());
    try {
        xls::readWorkbook(dir.filePath(QStringLiteral("absent.xls")));
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("absent.xls")));
    }
    const QString damaged = dir.filePath(QStringLiteral("damaged.xls"));
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xls::buildCompoundFile({{QStringLiteral("Workbook"), validStream().left(900)}}));
    f.close();
    try {
        xls::readWorkbook(damaged);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("The file \"damaged.xls\" could not be opened: ")))
            << e.description().toStdString();
    }
}
