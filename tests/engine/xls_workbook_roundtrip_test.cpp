// Saving a workbook and opening it again gives back what was laid out: values,
// formulas with their cached results, formats, merges, sizes, palette and page
// setup; texts of every kind and length; and the file is replaced only whole.
#include "engine/xls_test_workbooks.h"

#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/compound_file_reader.h"
#include "engine/xls/xls_reader.h"
#include "engine/xls/xls_writer.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace engine;
using namespace xls_test;

namespace {

std::unique_ptr<WorkbookData> saveAndOpen(const WorkbookData& wb, const IsolatedEnvironment& env) {
    const QString path = QDir(env.tempFolder()).filePath(QStringLiteral("roundtrip.xls"));
    xls::writeWorkbook(wb, path);
    return std::make_unique<WorkbookData>(xls::readWorkbook(path));
}

std::unique_ptr<WorkbookData> singleSheetWorkbook() {
    auto wb = std::make_unique<WorkbookData>();
    auto sheet = std::make_unique<SheetData>();
    sheet->name = QStringLiteral("Sheet1");
    wb->sheets.push_back(std::move(sheet));
    return wb;
}

// The records of the file's workbook stream, in order.
std::vector<std::pair<std::uint16_t, QByteArray>> records(const QByteArray& file) {
    const QByteArray stream = xls::CompoundFileReader(file).stream(QStringLiteral("Workbook"));
    std::vector<std::pair<std::uint16_t, QByteArray>> out;
    for (qsizetype pos = 0; pos + 4 <= stream.size();) {
        const auto type = xls::readU16(stream.constData() + pos);
        const auto length = xls::readU16(stream.constData() + pos + 2);
        out.emplace_back(type, stream.mid(pos + 4, length));
        pos += 4 + length;
    }
    return out;
}

}  // namespace

TEST(XlsWorkbookRoundTrip, CommissionSheetReadsBackAsLaidOut) {
    IsolatedEnvironment env;
    for (int n : {1, 3, 40}) {
        SCOPED_TRACE(n);
        const auto wb = commissionWorkbook(generatedRecords(n), 10);
        const auto back = saveAndOpen(*wb, env);
        expectSameWorkbook(*wb, *back);
        const SheetData& sheet = *back->sheets[0];
        EXPECT_EQ(sheet.name, QStringLiteral("Inventory List"));
        EXPECT_EQ(sheet.pageSetup.printArea, (CellArea{0, 0, n + 5, 8}));
        EXPECT_EQ(sheet.cell(6, 3)->formula->toR1C1(CellAddress{6, 3}), QStringLiteral("=RC[-1]*R[-3]C[-2]"));
    }
}

TEST(XlsWorkbookRoundTrip, ReopenedFormulasAreLive) {
    IsolatedEnvironment env;
    const QString path = QDir(env.tempFolder()).filePath(QStringLiteral("live.xls"));
    xls::writeWorkbook(*commissionWorkbook(sampleRecords(), 10), path);

    // Opened as the generation run's second instance opens it, then edited.
    const auto excel = createApplication();
    excel->Workbooks().Open(path);
    excel->Range(QStringLiteral("C7")).SetFormulaR1C1(QStringLiteral("20000.5"));
    auto value = [&](const char* ref) {
        const CellValue v = excel->Range(QString::fromLatin1(ref)).Value();
        return std::holds_alternative<double>(v) ? std::get<double>(v) : std::numeric_limits<double>::quiet_NaN();
    };
    const double total = 20000.5 + 8400.0 + 11100.0;
    EXPECT_DOUBLE_EQ(value("D7"), 2000.05);
    EXPECT_DOUBLE_EQ(value("C10"), total);
    EXPECT_DOUBLE_EQ(value("D10"), total * 0.1);
    EXPECT_DOUBLE_EQ(value("C4"), total);
    EXPECT_DOUBLE_EQ(value("D4"), total * 0.1);
    excel->Quit();
}

TEST(XlsWorkbookRoundTrip, TextsOfEveryKindAndLengthSurvive) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    SheetData& sheet = *wb->sheets[0];
    SheetBuilder b(*wb, sheet);
    QString longLatin, longWide, maxLatin;
    for (int i = 0; i < 9000; ++i) longLatin.append(QChar('a' + i % 26));
    for (int i = 0; i < kMaxTextLength; ++i) longWide.append(QChar(0x4E00 + i % 500));
    for (int i = 0; i < kMaxTextLength; ++i) maxLatin.append(QChar(0xE0 + i % 20));
    const QStringList texts{
        QStringLiteral("Ünïcödé Ærø"),
        QStringLiteral("销售佣金计算器"),
        QStringLiteral("Привет, мир"),
        QString::fromUtf8("😀 emoji 👍🏽"),
        QStringLiteral("\"double\" and 'single' quotes"),
        QStringLiteral("tab\there\nnew line\r\x01\x1F control"),
        QString(),
        QStringLiteral("=not a formula"),
        longLatin,
        longWide,
        maxLatin,
    };
    for (int i = 0; i < texts.size(); ++i) b.put(i, 0, texts[i], CellStyle{});
    // Enough distinct texts that the shared table runs over many records, with
    // strings split across them.
    for (int i = 0; i < 3000; ++i)
        b.put(i, 1, QStringLiteral("Name %1 %2").arg(i).arg(i % 3 ? QStringLiteral("Ω") : QStringLiteral("x")), CellStyle{});
    // A formula whose cached result is a long text (a STRING record with CONTINUE).
    b.formula(0, 2, QStringLiteral("=RC[-2]"), longWide, CellStyle{});

    const auto back = saveAndOpen(*wb, env);
    expectSameWorkbook(*wb, *back);
}

TEST(XlsWorkbookRoundTrip, StringSplitAcrossRecordsRepeatsItsFlags) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    QString wide;
    for (int i = 0; i < 6000; ++i) wide.append(QChar(0x0410 + i % 32));
    SheetBuilder(*wb, *wb->sheets[0]).put(0, 0, wide, CellStyle{});
    const auto recs = records(xls::buildWorkbookFile(*wb));
    auto sst = std::find_if(recs.begin(), recs.end(), [](const auto& r) { return r.first == xls::rt::kSst; });
    ASSERT_NE(sst, recs.end());
    ASSERT_EQ((sst + 1)->first, xls::rt::kContinue);
    EXPECT_EQ(sst->second.size() % 2, 1);  // 8 counts + 3 header bytes + whole two-byte characters
    EXPECT_EQ((sst + 1)->second.at(0), '\x01');  // the uncompressed flag again
    EXPECT_EQ(sst->second.size() - 11 + (sst + 1)->second.size() - 1, 6000 * 2);
}

TEST(XlsWorkbookRoundTrip, TextLongerThanACellHoldsIsRefused) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    SheetBuilder(*wb, *wb->sheets[0]).put(4, 1, QString(kMaxTextLength + 1, QChar('x')), CellStyle{});
    const QString path = QDir(env.tempFolder()).filePath(QStringLiteral("long.xls"));
    try {
        xls::writeWorkbook(*wb, path);
        FAIL() << "a text of 32768 characters was saved";
    } catch (const EngineError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("B5"))) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(QStringLiteral("32767"))) << e.description().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QDir(env.tempFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(XlsWorkbookRoundTrip, NumbersBooleansErrorsAndBlanksSurvive) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    SheetBuilder b(*wb, *wb->sheets[0]);
    const double numbers[] = {0, -0.0, 1, -1, 0.1, 123.45, -98765.43, 536870911, 536870912, -536870912,
                              -536870913, 1e300, -1e-300, 5e-324, 0.5, 1.0 / 3.0, 2.5e9, 12500.75};
    int row = 0;
    for (double v : numbers) b.put(row++, 0, v, CellStyle{});
    b.put(row++, 0, true, CellStyle{});
    b.put(row++, 0, false, CellStyle{});
    for (ErrorValue e : {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value, ErrorValue::Ref, ErrorValue::Name,
                         ErrorValue::Num, ErrorValue::NA})
        b.put(row++, 0, e, CellStyle{});
    CellStyle filled;
    filled.fillColorIndex = 7;
    b.put(row++, 0, {}, filled);  // a blank cell with a format of its own
    // Formula results of each kind.
    b.formula(0, 1, QStringLiteral("=RC[-1]"), 0.0, CellStyle{});
    b.formula(1, 1, QStringLiteral("=RC[-1]>0"), true, CellStyle{});
    b.formula(2, 1, QStringLiteral("=1/0"), ErrorValue::Div0, CellStyle{});
    b.formula(3, 1, QStringLiteral("=RC[-1]"), QString(), CellStyle{});

    const auto back = saveAndOpen(*wb, env);
    expectSameWorkbook(*wb, *back);
    EXPECT_TRUE(std::signbit(std::get<double>(back->sheets[0]->cell(1, 0)->value)));
}

TEST(XlsWorkbookRoundTrip, SheetRowAndColumnFormatsStayWhereTheyWere) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    SheetData& sheet = *wb->sheets[0];
    SheetBuilder b(*wb, sheet);
    CellStyle whole;
    whole.fillColorIndex = 2;
    whole.font.name = QStringLiteral("Century Gothic");
    sheet.defaultStyle = b.style(whole);
    CellStyle column = whole;
    column.numberFormat = QStringLiteral("0.00");
    column.hAlign = HorizontalAlignment::Right;
    sheet.columnStyles[4] = b.style(column);
    sheet.columnStyles[200] = b.style(column);
    CellStyle row = whole;
    row.font.italic = true;
    row.font.colorIndex = 53;
    row.border(CellSide::Bottom) = {BorderLine::Thick, 12};
    row.vAlign = VerticalAlignment::Top;
    sheet.rowStyles[9] = b.style(row);
    sheet.rowStyles[60000] = b.style(row);
    CellStyle cell = row;
    cell.numberFormat = QStringLiteral("#,##0.00;[Red]-#,##0.00");
    cell.hAlign = HorizontalAlignment::Left;
    cell.border(CellSide::Left) = {BorderLine::Medium, kColorAutomatic};
    cell.border(CellSide::Top) = {BorderLine::None, 30};
    b.put(9, 4, 42.0, cell);
    sheet.standardColumnWidth = 10.5;
    sheet.standardRowHeight = 15;
    sheet.columnWidths[1] = 0;       // hidden
    sheet.columnWidths[255] = 100.25;
    sheet.rowHeights[3] = 0;         // hidden
    sheet.rowHeights[65535] = 409.5;
    sheet.merges = {CellArea{0, 0, 1, 1}, CellArea{10, 2, 200, 7}};

    const auto back = saveAndOpen(*wb, env);
    expectSameWorkbook(*wb, *back);
}

TEST(XlsWorkbookRoundTrip, PageSetupVariantsSelectionsAndSeveralSheetsSurvive) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    wb->sheets[0]->selection = CellArea{2, 2, 4, 3};  // C3:D5, the active cell D4 inside it
    wb->sheets[0]->activeCell = CellAddress{3, 3};
    wb->sheets[0]->pageSetup.zoom = 85;
    wb->sheets[0]->pageSetup.printComments = PrintComments::InPlace;
    wb->sheets[0]->pageSetup.fitToPagesWide = 2;
    wb->sheets[0]->pageSetup.fitToPagesTall = 3;
    for (const QString& name : {QStringLiteral("Zweites Blatt"), QStringLiteral("Σ totals")}) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = name;
        sheet->pageSetup.printArea = CellArea{2, 1, 40, 5};
        sheet->pageSetup.printComments = PrintComments::AtEndOfSheet;
        sheet->pageSetup.orientation = Orientation::Landscape;
        sheet->pageSetup.paperSize = PaperSize::A4;
        sheet->pageSetup.zoom = std::nullopt;
        sheet->pageSetup.headerMargin = 0.25;
        sheet->pageSetup.footerMargin = 1.5;
        sheet->selection = CellArea{0, 1, kMaxRows - 1, 1};  // column B whole, at its last row
        sheet->activeCell = CellAddress{kMaxRows - 1, 1};
        wb->sheets.push_back(std::move(sheet));
    }
    SheetBuilder(*wb, *wb->sheets[2]).put(0, 0, QStringLiteral("last"), CellStyle{});
    wb->activeSheet = 2;
    const auto back = saveAndOpen(*wb, env);
    expectSameWorkbook(*wb, *back);
}

TEST(XlsWorkbookRoundTrip, WorkbooksTheFormatCannotHoldAreRefused) {
    IsolatedEnvironment env;
    WorkbookData empty;
    EXPECT_THROW(xls::buildWorkbookStream(empty), EngineError);
    for (const QString& name : {QString(), QString(32, QChar('n')), QStringLiteral("a/b"), QStringLiteral("x[1]")}) {
        auto wb = singleSheetWorkbook();
        wb->sheets[0]->name = name;
        EXPECT_THROW(xls::buildWorkbookStream(*wb), EngineError) << name.toStdString();
    }
}

namespace {

// The description a refused workbook gets, or an empty string when it is saved.
QString refusal(const WorkbookData& wb) {
    try {
        xls::buildWorkbookFile(wb);
    } catch (const EngineError& e) {
        return e.description();
    }
    return {};
}

}  // namespace

TEST(XlsWorkbookRoundTrip, CellsTheFormatCannotHoldAreRefusedFormatsFirst) {
    IsolatedEnvironment env;
    auto wb = singleSheetWorkbook();
    wb->sheets.push_back(std::make_unique<SheetData>());
    wb->sheets[1]->name = QStringLiteral("Sheet2");
    SheetBuilder(*wb, *wb->sheets[0]).put(2, 1, QString(kMaxTextLength, QChar('a')), CellStyle{});
    EXPECT_EQ(refusal(*wb), QString());

    // The first text too long for a cell is named.
    SheetBuilder(*wb, *wb->sheets[1]).put(4, 2, QString(kMaxTextLength + 1, QChar('b')), CellStyle{});
    SheetBuilder(*wb, *wb->sheets[1]).put(9, 0, QString(kMaxTextLength + 5, QChar('c')), CellStyle{});
    EXPECT_EQ(refusal(*wb), QStringLiteral("Cell C5 holds a text of 32768 characters; a workbook cell holds at most 32767."));

    // A cell format that does not exist is reported before any text, wherever it is.
    SheetBuilder(*wb, *wb->sheets[1]).put(20, 3, 1.5, CellStyle{}).style = StyleId(wb->styles.size());
    EXPECT_EQ(refusal(*wb), QStringLiteral("A cell refers to a format that does not exist."));
}

TEST(XlsWorkbookRoundTrip, SavingReplacesAWholeFileOrLeavesEverythingAsItWas) {
    IsolatedEnvironment env;
    const QDir dir(env.tempFolder());
    const QString path = dir.filePath(QStringLiteral("book.xls"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous content");
    }
    const auto wb = commissionWorkbook(sampleRecords(), 7.5);
    xls::writeWorkbook(*wb, path);
    expectSameWorkbook(*wb, xls::readWorkbook(path));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("book.xls")});

    // A folder that does not exist, and a path that is a folder.
    for (const QString& bad : {dir.filePath(QStringLiteral("missing/book.xls")), env.tempFolder()}) {
        try {
            xls::writeWorkbook(*wb, bad);
            FAIL() << "saved to " << bad.toStdString();
        } catch (const EngineError& e) {
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("book.xls")});

    // A refused workbook leaves the existing file untouched.
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    auto bad = singleSheetWorkbook();
    bad->sheets[0]->name = QStringLiteral("bad:name");
    EXPECT_THROW(xls::writeWorkbook(*bad, path), EngineError);
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}
