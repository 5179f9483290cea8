// Writes the seeds that need our own writers: file tokens of formulas for
// fuzz_formula, workbooks for fuzz_compound_file and fuzz_xls_workbook, and
// cursor files for fuzz_cursor_file.
//   fuzz_make_seeds <fuzz/corpus folder>
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/formula/formula.h"
#include "generator/record_list.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void formulaTokens(const QDir& corpus) {
    using engine::formula::Formula;
    using engine::formula::ReferenceStyle;
    const QStringList formulas = {
        "=RC[-1]*R[-3]C[-2]", "=SUM(R[-5]C:R[-1]C)", "=IF(RC[-1]>0,RC[-1]*10%,\"none\")",
        "=ROUND(R1C1/3,2)&\" each\"", "=-R[1]C^2", "=AVERAGE(R1C1:R3C3)+MAX(1,2)-MIN(3,4)", "=(1+2)*3",
        "=R[-1]C<>R[-2]C", "=#N/A",
    };
    const engine::CellAddress at{5, 2};  // the cell fuzz_formula's choice 1 gives
    int n = 0;
    for (const QString& text : formulas) {
        const QByteArray tokens = Formula::parse(text, ReferenceStyle::R1C1, at)->toBiff8Tokens(at);
        write(corpus.filePath(QStringLiteral("formula/tokens_%1").arg(n++, 2, 10, QLatin1Char('0'))),
              QByteArray("\x01\x01", 2) + tokens);
    }
}

// A workbook laid out as the generation run lays it out, saved by our writer.
QByteArray commissionWorkbook(const generator::RecordList& records, const QString& path) {
    const std::unique_ptr<engine::Application> app = engine::createApplication();
    const engine::Workbook book = app->Workbooks().Add();
    while (book.Sheets().Count() > 1) book.Sheets()(2).Delete();
    book.Sheets()(1).SetName(QStringLiteral("Inventory List"));
    generator::writeCommissionSheet(*app, records);
    book.SaveAs(path, engine::FileFormat::Excel8);
    app->Quit();
    return readAll(path);
}

void workbooks(const QDir& corpus) {
    QTemporaryDir scratch;
    const std::vector<std::pair<QString, generator::RecordList>> books = {
        {"sample", generator::RecordList({{"Aldo Fennick", "5600"}, {"John Smith", "8400"}, {"Zodo Duvevado", "11100"}}, "10")},
        {"empty", generator::RecordList({}, "10")},
        {"odd_texts", generator::RecordList({{"=1+1", "1e308"}, {"\u05e9\u05dc\u05d5\u05dd \U0001F600", "-0"}, {"\"q\"", ""}}, "7.5")},
    };
    generator::RecordList manyRecords({}, "12.5");
    for (int i = 0; i < 40; ++i) manyRecords.append({QStringLiteral("Seller %1").arg(i), QString::number(1000 + 37 * i)});

    for (const auto& [name, records] : books) {
        const QByteArray bytes = commissionWorkbook(records, scratch.filePath(name + ".xls"));
        write(corpus.filePath("compound_file/" + name + ".xls"), bytes);
        write(corpus.filePath("xls_workbook/" + name + ".xls"), bytes);
    }
    const QByteArray bytes = commissionWorkbook(manyRecords, scratch.filePath("many.xls"));
    write(corpus.filePath("xls_workbook/many.xls"), bytes);
}

// An icon file of the picture as Qt writes it (BMP or PNG inside); as a cursor,
// its type says so and its entry holds the hot spot.
QByteArray iconFile(const QImage& picture, bool asCursor, QPoint hotSpot = {}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "ico");
    QByteArray bytes = buffer.data();
    if (asCursor) {
        qToLittleEndian<quint16>(2, bytes.data() + 2);
        qToLittleEndian<quint16>(quint16(hotSpot.x()), bytes.data() + 10);
        qToLittleEndian<quint16>(quint16(hotSpot.y()), bytes.data() + 12);
    }
    return bytes;
}

void cursorFiles(const QDir& corpus) {
    QImage hand(32, 32, QImage::Format_ARGB32);
    hand.fill(Qt::transparent);
    for (int i = 4; i < 28; ++i) hand.setPixel(i, 31 - i, qRgba(0, 0, 0, 255));
    QImage small(16, 16, QImage::Format_Mono);
    small.fill(1);
    write(corpus.filePath("cursor_file/hand.cur"), iconFile(hand, true, {5, 3}));
    write(corpus.filePath("cursor_file/small.ico"), iconFile(small, false));
    write(corpus.filePath("cursor_file/large.cur"), iconFile(hand.scaled(64, 64), true, {63, 63}));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds <fuzz/corpus folder>\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"formula", "compound_file", "xls_workbook", "cursor_file"}) corpus.mkpath(QString::fromLatin1(sub));
    formulaTokens(corpus);
    workbooks(corpus);
    cursorFiles(corpus);
    return 0;
}
