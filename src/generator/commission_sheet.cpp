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

// Column A is an empty margin; B holds names and labels, C sales, D commissions.
using namespace commission_layout;
constexpr int kLastPrintedColumn = 9;  // I

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
        cell(15, kTotalColumn).Select();
    }

private:
    static int totalsRow(int n) { return kFirstRecordRow + n; }

    engine::Range cell(int row, int column) const { return m_sheet.Cells(row, column); }
    engine::Range area(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
        return m_sheet.Range(cell(firstRow, firstColumn), cell(lastRow, lastColumn));
    }
    // Columns B to D of the rows first to last, where the sheet's cells are.
    engine::Range block(int firstRow, int lastRow) const {
        return area(firstRow, kNameColumn, lastRow, kCommissionColumn);
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
        m_sheet.Columns(kNameColumn, kCommissionColumn).SetColumnWidth(28);
        m_sheet.Columns(kCommissionColumn + 1, 10).SetColumnWidth(8.43);
        const double heights[] = {38.25, 13.5, 15, 16.5, 6.75, 19.5};
        for (int row = 1; row <= kHeaderRow; ++row) m_sheet.Rows(row, row).SetRowHeight(heights[row - 1]);
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
            {kTitleRow, kNameColumn, kTitle},
            {kSummaryLabelRow, kNameColumn, "Commission Percentage"},
            {kSummaryLabelRow, kTotalColumn, "Total sales"},
            {kSummaryLabelRow, kCommissionColumn, "Total commission paid"},
            {kHeaderRow, kNameColumn, kNameTitle},
            {kHeaderRow, kTotalColumn, kTotalTitle},
            {kHeaderRow, kCommissionColumn, kCommissionTitle},
        };
        for (const auto& label : labels) cell(label.row, label.column).SetText(QString::fromLatin1(label.text));
        block(kTitleRow, kTitleRow).Merge();

        // Typed: "10%" is the number 0.1.
        cell(kPercentageRow, kNameColumn).SetFormulaR1C1(percentage + u'%');
        // C4 and D4 repeat the totals of their columns.
        const QString totalsBelow = u"=R[+" % QString::number(totalsRow(n) - kPercentageRow) % u"]C";
        cell(kPercentageRow, kTotalColumn).SetFormulaR1C1(totalsBelow);
        cell(kPercentageRow, kCommissionColumn).SetFormulaR1C1(totalsBelow);
    }

    void writeRecord(const RecordSource& source, int i) {
        const int row = kFirstRecordRow + i - 1;
        // A name is data: written as text, whatever it reads as.
        cell(row, kNameColumn).SetText(source.recordName(i));
        cell(row, kTotalColumn).SetFormulaR1C1(source.recordTotal(i));
        // The sales to the left times the percentage in B4.
        cell(row, kCommissionColumn)
            .SetFormulaR1C1(u"=RC[-1]*R[" % QString::number(kPercentageRow - row) % u"]C[-2]");
        if (i % 2 == 0) area(row, kNameColumn, row, kTotalColumn).Interior().SetColorIndex(kLightGrey);
    }

    void writeTotals(int n) {
        const int row = totalsRow(n);
        cell(row, kNameColumn).SetText(QString::fromLatin1(kTotalsLabel));
        // Without records there is nothing to add up: the total is zero rather than a
        // sum over the totals cell itself.
        cell(row, kTotalColumn)
            .SetFormulaR1C1(n > 0 ? QString(u"=SUM(R[-" % QString::number(n) % u"]C:R[-1]C)") : QStringLiteral("0"));
        cell(row, kCommissionColumn)
            .SetFormulaR1C1(u"=RC[-1]*R[" % QString::number(kPercentageRow - row) % u"]C[-2]");
    }

    // Fonts, centring, number formats and fills of the written blocks; the cells
    // between them (rows 2 and 5, columns A and E on) stay as the reset left them.
    void formatCells(int n) {
        const int totals = totalsRow(n);
        for (const engine::Range& written :
             {block(kTitleRow, kTitleRow), block(kSummaryLabelRow, kPercentageRow), block(kHeaderRow, totals)})
            written.SetHorizontalAlignment(engine::HorizontalAlignment::Center);

        setFont(block(kTitleRow, kTitleRow), {kTitleFont, 24, true, kSlate});
        setFont(block(kSummaryLabelRow, kSummaryLabelRow), {kTitleFont, 11, false, kSlate});
        setFont(block(kPercentageRow, kPercentageRow), {kBodyFont, 9});
        setFont(block(kHeaderRow, kHeaderRow), {kTitleFont, 11, true, kWhite});
        if (n > 0) setFont(block(kFirstRecordRow, totals - 1), {kBodyFont, 9});
        setFont(cell(totals, kNameColumn), {kTitleFont, 11, true, kWhite});
        setFont(area(totals, kTotalColumn, totals, kCommissionColumn), {kBodyFont, 9, true});

        cell(kPercentageRow, kNameColumn).SetNumberFormat(QStringLiteral("0.0%"));
        area(kPercentageRow, kTotalColumn, kPercentageRow, kCommissionColumn).SetNumberFormat(kMoney);
        area(kFirstRecordRow, kTotalColumn, totals, kCommissionColumn).SetNumberFormat(kMoney);

        area(kPercentageRow, kTotalColumn, kPercentageRow, kCommissionColumn).Interior().SetColorIndex(kPaleBlue);
        block(kHeaderRow, kHeaderRow).Interior().SetColorIndex(kSlate);
        area(kFirstRecordRow, kCommissionColumn, totals, kCommissionColumn).Interior().SetColorIndex(kPaleBlue);
        cell(totals, kTotalColumn).Interior().SetColorIndex(kPaleBlue);
        cell(totals, kNameColumn).Interior().SetColorIndex(kSlate);
    }

    // Light grey lines: thin around and between the summary values and the record
    // block, a medium outline around the headings, medium sides and bottom around
    // the records. No lines between records: their fills tell them apart.
    void drawBorders(int n) {
        const int lastRecordRow = totalsRow(n) - 1;  // the heading row when there is no record
        constexpr BorderSides box{.left = true, .top = true, .bottom = true, .right = true};
        constexpr BorderSides grid{.left = true, .top = true, .bottom = true, .right = true, .insideVertical = true};
        constexpr BorderSides sidesAndBottom{.left = true, .bottom = true, .right = true};
        setBorders(block(kPercentageRow, kPercentageRow), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(block(kHeaderRow, lastRecordRow), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(block(kHeaderRow, kHeaderRow), box, engine::BorderWeight::Medium, kLightGrey);
        // Without records this block is the heading and totals rows, as the corners come.
        setBorders(block(kFirstRecordRow, lastRecordRow), sidesAndBottom, engine::BorderWeight::Medium, kLightGrey);
    }

    engine::Application& m_app;
    const engine::Worksheet m_sheet;
};

}  // namespace

void writeCommissionSheet(engine::Application& app, const RecordSource& source) {
    CommissionSheetWriter(app).write(source);
}

}  // namespace generator
