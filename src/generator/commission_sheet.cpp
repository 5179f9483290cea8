#include "generator/commission_sheet.h"

#include "engine/application.h"
#include "generator/page_setup.h"
#include "generator/palette.h"
#include "generator/range_formatting.h"
#include "generator/record_source.h"

#include <QStringBuilder>

namespace generator {

namespace {

// Palette entries the sheet uses.
constexpr int kWhite = 2;
constexpr int kSlate = 10;
constexpr int kLightGrey = 15;
constexpr int kPaleBlue = 35;

// Columns: A is an empty margin; B holds names and labels, C sales, D commissions.
constexpr int kB = 2;
constexpr int kC = 3;
constexpr int kD = 4;
constexpr int kLastPrintedColumn = 9;  // I

// Rows: the title, the summary labels and values, the headings, then the records.
constexpr int kTitleRow = 1;
constexpr int kLabelRow = 3;
constexpr int kSummaryRow = 4;
constexpr int kHeadingRow = 6;
constexpr int kFirstRecordRow = 7;

const QString kMoney = QStringLiteral("$#,##0.00");
const QString kBodyFont = QStringLiteral("Century Gothic");
const QString kTitleFont = QStringLiteral("Garamond");

// Writes the sheet into one application's active sheet: the contents cell by
// cell, then the formats block by block.
class CommissionSheetWriter {
public:
    explicit CommissionSheetWriter(engine::Application& app) : m_app(app), m_sheet(app.ActiveSheet()) {}

    void write(const RecordSource& source) {
        const int n = source.recordCount();
        loadPalette();
        resetSheet();
        sizeGrid(n);
        writeLabels(source.percentageText(), n);
        for (int i = 1; i <= n; ++i) writeRecord(source, i);
        writeTotals(n);
        formatCells(n);
        drawBorders(n);
        // The print area runs to the totals row, so a printout carries the totals.
        setUpPage(m_app, area(1, 1, totalsRow(n), kLastPrintedColumn));
        cell(15, kC).Select();
    }

private:
    static int totalsRow(int n) { return kFirstRecordRow + n; }

    engine::Range cell(int row, int column) const { return m_sheet.Cells(row, column); }
    engine::Range area(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
        return m_sheet.Range(cell(firstRow, firstColumn), cell(lastRow, lastColumn));
    }

    void loadPalette() {
        const engine::Workbook book = m_app.ActiveWorkbook();
        for (int i = 1; i <= kPaletteSize; ++i) book.SetColors(i, static_cast<std::uint32_t>(paletteColor(i)));
    }

    // Every cell white, Arial 10, centred down and wrapped.
    void resetSheet() {
        const engine::Range all = m_sheet.Cells();
        all.Clear();
        all.Font().SetName(QStringLiteral("Arial"));
        all.Font().SetSize(10);
        all.SetVerticalAlignment(engine::VerticalAlignment::Center);
        all.SetWrapText(true);
        all.Interior().SetColorIndex(kWhite);
    }

    void sizeGrid(int n) {
        m_sheet.Columns(1, 1).SetColumnWidth(3.71);
        m_sheet.Columns(kB, kD).SetColumnWidth(28);
        m_sheet.Columns(kD + 1, 10).SetColumnWidth(8.43);
        const double heights[] = {38.25, 13.5, 15, 16.5, 6.75, 19.5};
        for (int row = 1; row <= kHeadingRow; ++row) m_sheet.Rows(row, row).SetRowHeight(heights[row - 1]);
        // The totals row keeps the sheet's default height.
        if (n > 0) m_sheet.Rows(kFirstRecordRow, totalsRow(n) - 1).SetRowHeight(15);
    }

    // The title, the summary block and the headings.
    void writeLabels(const QString& percentage, int n) {
        const struct {
            int row;
            int column;
            const char* text;
        } labels[] = {
            {kTitleRow, kB, "Sales Commission Calculator"},
            {kLabelRow, kB, "Commission Percentage"},
            {kLabelRow, kC, "Total sales"},
            {kLabelRow, kD, "Total commission paid"},
            {kHeadingRow, kB, "SalePerson"},
            {kHeadingRow, kC, "Total Sales Amount"},
            {kHeadingRow, kD, "Commission"},
        };
        for (const auto& label : labels) cell(label.row, label.column).SetText(QString::fromLatin1(label.text));
        area(kTitleRow, kB, kTitleRow, kD).Merge();

        // Typed: "10%" is the number 0.1.
        cell(kSummaryRow, kB).SetFormulaR1C1(percentage + u'%');
        // C4 and D4 repeat the totals of their columns.
        const QString totalsBelow = u"=R[+" % QString::number(totalsRow(n) - kSummaryRow) % u"]C";
        cell(kSummaryRow, kC).SetFormulaR1C1(totalsBelow);
        cell(kSummaryRow, kD).SetFormulaR1C1(totalsBelow);
    }

    void writeRecord(const RecordSource& source, int i) {
        const int row = kFirstRecordRow + i - 1;
        // A name is data: written as text, whatever it reads as.
        cell(row, kB).SetText(source.recordName(i));
        cell(row, kC).SetFormulaR1C1(source.recordTotal(i));
        // The sales to the left times the percentage in B4.
        cell(row, kD).SetFormulaR1C1(u"=RC[-1]*R[" % QString::number(kSummaryRow - row) % u"]C[-2]");
        if (i % 2 == 0) area(row, kB, row, kC).Interior().SetColorIndex(kLightGrey);
    }

    void writeTotals(int n) {
        const int row = totalsRow(n);
        cell(row, kB).SetText(QStringLiteral("Totals"));
        // Without records there is nothing to add up: the total is zero rather than a
        // sum over the totals cell itself.
        cell(row, kC).SetFormulaR1C1(n > 0 ? QString(u"=SUM(R[-" % QString::number(n) % u"]C:R[-1]C)")
                                           : QStringLiteral("0"));
        cell(row, kD).SetFormulaR1C1(u"=RC[-1]*R[" % QString::number(kSummaryRow - row) % u"]C[-2]");
    }

    // Fonts, centring, number formats and fills of the written blocks; the cells
    // between them (rows 2 and 5, columns A and E on) stay as the reset left them.
    void formatCells(int n) {
        const int totals = totalsRow(n);
        for (const engine::Range& written :
             {area(kTitleRow, kB, kTitleRow, kD), area(kLabelRow, kB, kSummaryRow, kD), area(kHeadingRow, kB, totals, kD)})
            written.SetHorizontalAlignment(engine::HorizontalAlignment::Center);

        setFont(area(kTitleRow, kB, kTitleRow, kD), {kTitleFont, 24, true, kSlate});
        setFont(area(kLabelRow, kB, kLabelRow, kD), {kTitleFont, 11, false, kSlate});
        setFont(area(kSummaryRow, kB, kSummaryRow, kD), {kBodyFont, 9});
        setFont(area(kHeadingRow, kB, kHeadingRow, kD), {kTitleFont, 11, true, kWhite});
        if (n > 0) setFont(area(kFirstRecordRow, kB, totals - 1, kD), {kBodyFont, 9});
        setFont(cell(totals, kB), {kTitleFont, 11, true, kWhite});
        setFont(area(totals, kC, totals, kD), {kBodyFont, 9, true});

        cell(kSummaryRow, kB).SetNumberFormat(QStringLiteral("0.0%"));
        area(kSummaryRow, kC, kSummaryRow, kD).SetNumberFormat(kMoney);
        area(kFirstRecordRow, kC, totals, kD).SetNumberFormat(kMoney);

        area(kSummaryRow, kC, kSummaryRow, kD).Interior().SetColorIndex(kPaleBlue);
        area(kHeadingRow, kB, kHeadingRow, kD).Interior().SetColorIndex(kSlate);
        area(kFirstRecordRow, kD, totals, kD).Interior().SetColorIndex(kPaleBlue);
        cell(totals, kC).Interior().SetColorIndex(kPaleBlue);
        cell(totals, kB).Interior().SetColorIndex(kSlate);
    }

    // Light grey lines: thin around and between the summary values and the record
    // block, a medium outline around the headings, medium sides and bottom around
    // the records. No lines between records: their fills tell them apart.
    void drawBorders(int n) {
        const int lastRecordRow = totalsRow(n) - 1;  // the heading row when there is no record
        constexpr BorderSides box{.left = true, .top = true, .bottom = true, .right = true};
        constexpr BorderSides grid{.left = true, .top = true, .bottom = true, .right = true, .insideVertical = true};
        constexpr BorderSides sidesAndBottom{.left = true, .bottom = true, .right = true};
        setBorders(area(kSummaryRow, kB, kSummaryRow, kD), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(area(kHeadingRow, kB, lastRecordRow, kD), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(area(kHeadingRow, kB, kHeadingRow, kD), box, engine::BorderWeight::Medium, kLightGrey);
        // Without records this area is the heading and totals rows, as the corners come.
        setBorders(area(kFirstRecordRow, kB, lastRecordRow, kD), sidesAndBottom, engine::BorderWeight::Medium, kLightGrey);
    }

    engine::Application& m_app;
    const engine::Worksheet m_sheet;
};

}  // namespace

void writeCommissionSheet(engine::Application& app, const RecordSource& source) {
    CommissionSheetWriter(app).write(source);
}

}  // namespace generator
