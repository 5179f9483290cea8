#include "generator/commission_sheet.h"

#include "generator/connection.h"
#include "generator/page_setup.h"
#include "generator/palette.h"
#include "generator/range_formatting.h"
#include "generator/record_source.h"
#include "shell/failure.h"

#include <QStringBuilder>

namespace generator {

namespace {

// Palette entries the sheet uses.
constexpr int kWhite = 2;
constexpr int kSlate = 10;
constexpr int kLightGrey = 15;
constexpr int kPaleBlue = 35;

constexpr int kFirstRecordRow = 7;
constexpr int kAutomatic = engine::kColorAutomatic;

const QString kMoney = QStringLiteral("$#,##0.00");
const QString kBodyFont = QStringLiteral("Century Gothic");
const QString kTitleFont = QStringLiteral("Garamond");
const QString kNormal = QStringLiteral("Normal");
const QString kBold = QStringLiteral("Bold");

engine::Application& excel() {
    if (!ExcelApp) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    return *ExcelApp;
}

QString num(int n) { return QString::number(n); }

// "$B7:$B7" for column B and row 7 (built in place: the layout makes three per record).
QString oneCell(char16_t column, int row) {
    char16_t digits[10];
    int n = 0;
    for (int rest = row; n == 0 || rest > 0; rest /= 10) digits[n++] = char16_t(u'0' + rest % 10);
    char16_t text[2 * (2 + 10) + 1];
    int size = 0;
    for (int half = 0; half < 2; ++half) {
        if (half == 1) text[size++] = u':';
        text[size++] = u'$';
        text[size++] = column;
        for (int i = n - 1; i >= 0; --i) text[size++] = digits[i];
    }
    return QString(reinterpret_cast<const QChar*>(text), size);
}

// Centred both ways, with wrapping.
void centre() { SetAlignment(true, true, true, false); }

void setFontColor(int colorIndex) { excel().Selection().Font().SetColorIndex(colorIndex); }

void loadPalette() {
    const engine::Workbook book = excel().ActiveWorkbook();
    for (int i = 1; i <= kPaletteSize; ++i) book.SetColors(i, static_cast<std::uint32_t>(PaletteColors(i)));
}

void resetSheet() {
    excel().Cells().Select();
    const engine::Range all = excel().Selection();
    all.Clear();
    all.Font().SetName(QStringLiteral("Arial"));
    all.Font().SetSize(10);
    all.SetVerticalAlignment(engine::VerticalAlignment::Center);
    all.SetWrapText(true);
    SetInteriorColor(QString(), kWhite);
}

void sizeGrid() {
    SetColumnWidth(QStringLiteral("A:A"), 3.71);
    for (const char* column : {"B:B", "C:C", "D:D"}) SetColumnWidth(QString::fromLatin1(column), 28);
    for (const char* column : {"E:E", "F:F", "G:G", "H:H", "I:I", "J:J"}) SetColumnWidth(QString::fromLatin1(column), 8.43);
    SetRowHeight(QStringLiteral("1:1"), 38.25);
    SetRowHeight(QStringLiteral("2:2"), 13.5);
    SetRowHeight(QStringLiteral("3:3"), 15);
    SetRowHeight(QStringLiteral("4:4"), 16.5);
    SetRowHeight(QStringLiteral("5:5"), 6.75);
    SetRowHeight(QStringLiteral("6:6"), 19.5);
}

void writeRecord(const RecordSource& source, int i) {
    const int r = i + kFirstRecordRow - 1;
    const QString row = num(r);
    SetRowHeight(QString(row % QLatin1Char(':') % row), 15);
    if (i % 2 == 0) SetInteriorColor(QString(QLatin1Char('B') % row % QLatin1String(":C") % row), kLightGrey);

    WriteCell(oneCell(u'B', r), source.recordName(i), true, false);
    SetFont(kNormal, 9, kAutomatic, kBodyFont);
    centre();

    WriteCell(oneCell(u'C', r), source.recordTotal(i), true, false);
    SetFont(kNormal, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);

    // The sales to the left times the percentage in B4.
    WriteCell(oneCell(u'D', r), QString(QLatin1String("=RC[-1]*R[") % num(-(i + 2)) % QLatin1String("]C[-2]")), true, false);
    SetFont(kNormal, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);
    SetInteriorColor(QString(), kPaleBlue);
}

void writeTotals(int n) {
    const int t = n + kFirstRecordRow;
    WriteCell(oneCell(u'B', t), QStringLiteral("Totals"), true, false);
    SetFont(kBold, 11, kAutomatic, kTitleFont);
    centre();
    SetInteriorColor(QString(), kSlate);
    setFontColor(kWhite);

    // Without records there is nothing to add up: the total is zero rather than a
    // sum over the totals cell itself.
    const QString sum = n > 0 ? QStringLiteral("=SUM(R[-") + num(n) + QStringLiteral("]C:R[-1]C)") : QStringLiteral("0");
    WriteCell(oneCell(u'C', t), sum, true, false);
    SetFont(kBold, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);
    SetInteriorColor(QString(), kPaleBlue);

    WriteCell(oneCell(u'D', t), QStringLiteral("=RC[-1]*R[-") + num(n + 3) + QStringLiteral("]C[-2]"), true, false);
    SetFont(kBold, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);
    SetInteriorColor(QString(), kPaleBlue);
}

void writeSummary(int n) {
    const QString totalsBelow = QStringLiteral("=R[+") + num(n + 3) + QStringLiteral("]C");
    WriteCell(QStringLiteral("$C4:$C4"), totalsBelow, true, false);
    SetFont(kNormal, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);

    WriteCell(QStringLiteral("$D4:$D4"), totalsBelow, true, false);
    SetFont(kNormal, 9, kAutomatic, kBodyFont);
    centre();
    SetNumberFormat(QString(), kMoney);
    SetInteriorColor(QString(), kPaleBlue);
}

void drawBorders(int n) {
    const QString lastRecordRow = num(n + kFirstRecordRow - 1);
    // Flags: inside horizontal, left, right, top, bottom, inside vertical.
    SetBorders(QStringLiteral("$B4:$D4"), false, true, true, true, true, true, engine::BorderWeight::Thin, kLightGrey);
    SetBorders(QStringLiteral("$B6:$D") + lastRecordRow, false, true, true, true, true, true, engine::BorderWeight::Thin, kLightGrey);
    SetBorders(QStringLiteral("$B6:$D6"), false, true, true, true, true, false, engine::BorderWeight::Medium, kLightGrey);
    SetBorders(QStringLiteral("$B7:$D") + lastRecordRow, false, true, true, false, true, false, engine::BorderWeight::Medium, kLightGrey);
}

struct Label {
    const char* range;
    QString content;
    bool wrap;
    const QString& style;
    double size;
    const QString& font;
    int fontColor;  // 0: a number format instead
};

void writeLabels(const QString& percentage) {
    const Label labels[] = {
        {"$B1:$D1", QStringLiteral("Sales Commission Calculator"), false, kBold, 24, kTitleFont, kSlate},
        {"$B3:$B3", QStringLiteral("Commission Percentage"), false, kNormal, 11, kTitleFont, kSlate},
        {"$B4:$B4", percentage + u'%', false, kNormal, 9, kBodyFont, 0},
        {"$C3:$C3", QStringLiteral("Total sales"), false, kNormal, 11, kTitleFont, kSlate},
        {"$D3:$D3", QStringLiteral("Total commission paid"), false, kNormal, 11, kTitleFont, kSlate},
        {"$B6:$B6", QStringLiteral("SalePerson"), false, kBold, 11, kTitleFont, kWhite},
        {"$C6:$C6", QStringLiteral("Total Sales Amount"), true, kBold, 11, kTitleFont, kWhite},
        {"$D6:$D6", QStringLiteral("Commission"), true, kBold, 11, kTitleFont, kWhite},
    };
    for (const Label& label : labels) {
        WriteCell(QString::fromLatin1(label.range), label.content, true, label.wrap);
        SetFont(label.style, label.size, kAutomatic, label.font);
        centre();
        if (label.fontColor != 0) setFontColor(label.fontColor);
        else SetNumberFormat(QString(), QStringLiteral("0.0%"));
    }
}

}  // namespace

void BuildCommissionSheet(const RecordSource& source) {
    loadPalette();
    resetSheet();
    sizeGrid();
    const int n = source.recordCount();
    for (int i = 1; i <= n; ++i) writeRecord(source, i);
    SetInteriorColor(QStringLiteral("C4:D4"), kPaleBlue);
    SetInteriorColor(QStringLiteral("B6:D6"), kSlate);
    writeTotals(n);
    writeSummary(n);
    drawBorders(n);
    writeLabels(source.percentageText());
    // The print area ends at the last record row; the totals row stays outside it.
    PrintAreaText = QStringLiteral("A1:I") + num(n + kFirstRecordRow - 1);
    SetupPage();
    excel().Range(QStringLiteral("C15")).Select();
}

}  // namespace generator
