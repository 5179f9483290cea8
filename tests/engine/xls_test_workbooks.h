#pragma once

// Workbooks for the .xls tests, built directly in the engine's data form: one that
// mirrors the commission sheet (palette, Garamond / Century Gothic / Arial fonts,
// fills 2, 10, 15 and 35, thin and medium borders, merged title, live formulas with
// their cached results, sizes and page setup), and small helpers.
#include "engine/formula/formula.h"
#include "engine/model/sheet.h"

#include <QString>
#include <gtest/gtest.h>
#include <QStringList>
#include <cmath>
#include <vector>

// Readable QString values in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace xls_test {

using namespace engine;

inline Palette commissionPalette() {
    static const int rgb[56][3] = {
        {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {104, 150, 206}, {255, 255, 0},
        {255, 0, 255},   {0, 255, 255},   {128, 0, 0},     {84, 125, 146},  {180, 195, 175}, {120, 145, 110},
        {240, 235, 220}, {175, 180, 135}, {224, 224, 224}, {128, 128, 128}, {153, 153, 255}, {8, 132, 131},
        {249, 247, 105}, {204, 255, 255}, {102, 0, 102},   {255, 128, 128}, {0, 102, 204},   {204, 204, 255},
        {0, 0, 128},     {255, 0, 255},   {255, 255, 0},   {0, 255, 255},   {128, 0, 128},   {128, 0, 0},
        {0, 128, 128},   {0, 0, 255},     {0, 204, 255},   {254, 252, 242}, {234, 236, 254}, {255, 231, 189},
        {252, 250, 242}, {255, 153, 204}, {224, 255, 215}, {253, 247, 223}, {51, 102, 255},  {51, 204, 204},
        {177, 255, 209}, {255, 204, 0},   {255, 153, 0},   {255, 102, 0},   {251, 248, 239}, {207, 207, 207},
        {190, 190, 190}, {51, 153, 102},  {115, 158, 211}, {236, 245, 215}, {153, 51, 0},    {153, 51, 102},
        {204, 255, 204}, {51, 51, 51}};
    Palette p{};
    for (int i = 0; i < 56; ++i) p[i] = rgb[i][0] + 256u * rgb[i][1] + 65536u * rgb[i][2];
    return p;
}

struct SalesRecord {
    QString name;
    double sales;
};

// The main window's sample records, and n generated ones.
inline std::vector<SalesRecord> sampleRecords() {
    return {{QStringLiteral("Aldo Fennick"), 5600.0}, {QStringLiteral("John Smith"), 8400.0},
            {QStringLiteral("Zodo Duvevado"), 11100.0}};
}

inline std::vector<SalesRecord> generatedRecords(int n) {
    std::vector<SalesRecord> records;
    for (int i = 1; i <= n; ++i)
        records.push_back({QStringLiteral("Salesperson %1").arg(i), 1000.0 + (i * 37 % 9000) + (i % 100) / 100.0});
    return records;
}

class SheetBuilder {
public:
    SheetBuilder(WorkbookData& wb, SheetData& sheet) : m_wb(wb), m_sheet(sheet) {}

    StyleId style(const CellStyle& s) { return m_wb.styles.intern(s); }

    Cell& put(int row, int col, CellValue value, const CellStyle& s) {
        Cell& c = m_sheet.cells[CellAddress{row, col}];
        c.value = std::move(value);
        c.style = style(s);
        return c;
    }

    // A formula in R1C1 style with its cached result.
    Cell& formula(int row, int col, const QString& r1c1, CellValue result, const CellStyle& s) {
        Cell& c = put(row, col, std::move(result), s);
        c.formula = formula::Formula::parse(r1c1, formula::ReferenceStyle::R1C1, CellAddress{row, col});
        c.resultValid = true;
        return c;
    }

private:
    WorkbookData& m_wb;
    SheetData& m_sheet;
};

inline CellStyle withFont(CellStyle s, const QString& name, double size, bool bold, int colour = kColorAutomatic) {
    s.font.name = name;
    s.font.size = size;
    s.font.bold = bold;
    s.font.colorIndex = colour;
    s.hAlign = HorizontalAlignment::Center;
    s.vAlign = VerticalAlignment::Center;
    return s;
}

inline CellStyle withBorders(CellStyle s, BorderLine left, BorderLine top, BorderLine bottom, BorderLine right) {
    s.border(CellSide::Left) = {left, left == BorderLine::None ? kColorAutomatic : 15};
    s.border(CellSide::Top) = {top, top == BorderLine::None ? kColorAutomatic : 15};
    s.border(CellSide::Bottom) = {bottom, bottom == BorderLine::None ? kColorAutomatic : 15};
    s.border(CellSide::Right) = {right, right == BorderLine::None ? kColorAutomatic : 15};
    return s;
}

// A workbook laid out like the commission sheet for the given records and
// percentage, with every formula's result cached.
inline std::unique_ptr<WorkbookData> commissionWorkbook(const std::vector<SalesRecord>& records, double percent) {
    auto wb = std::make_unique<WorkbookData>();
    wb->palette = commissionPalette();
    auto sheetPtr = std::make_unique<SheetData>();
    SheetData& sheet = *sheetPtr;
    sheet.name = QStringLiteral("Inventory List");
    wb->sheets.push_back(std::move(sheetPtr));
    SheetBuilder b(*wb, sheet);

    const int n = int(records.size());
    CellStyle base;
    base.vAlign = VerticalAlignment::Center;
    base.wrap = true;
    base.fillColorIndex = 2;
    sheet.defaultStyle = b.style(base);

    sheet.columnWidths[0] = 3.71;
    for (int c = 1; c <= 3; ++c) sheet.columnWidths[c] = 28;
    for (int c = 4; c <= 9; ++c) sheet.columnWidths[c] = 8.43;
    const double heights[] = {38.25, 13.5, 15, 16.5, 6.75, 19.5};
    for (int r = 0; r < 6; ++r) sheet.rowHeights[r] = heights[r];

    const BorderLine none = BorderLine::None, thin = BorderLine::Thin, medium = BorderLine::Medium;
    CellStyle title = withFont(base, QStringLiteral("Garamond"), 24, true, 10);
    b.put(0, 1, QStringLiteral("Sales Commission Calculator"), title);
    b.put(0, 2, {}, title);
    b.put(0, 3, {}, title);
    sheet.merges.push_back(CellArea{0, 1, 0, 3});

    const CellStyle label = withFont(base, QStringLiteral("Garamond"), 11, false, 10);
    b.put(2, 1, QStringLiteral("Commission Percentage"), label);
    b.put(2, 2, QStringLiteral("Total sales"), label);
    b.put(2, 3, QStringLiteral("Total commission paid"), label);

    CellStyle body = withFont(base, QStringLiteral("Century Gothic"), 9, false);
    CellStyle money = body;
    money.numberFormat = QStringLiteral("$#,##0.00");
    CellStyle percentStyle = withBorders(body, thin, thin, thin, thin);
    percentStyle.numberFormat = QStringLiteral("0.0%");
    CellStyle summary = withBorders(money, thin, thin, thin, thin);
    summary.fillColorIndex = 35;

    double total = 0;
    for (const auto& r : records) total += r.sales;
    const double rate = percent / 100.0;
    b.put(3, 1, rate, percentStyle);
    const QString toTotals = QStringLiteral("=R[+%1]C").arg(n + 3);
    b.formula(3, 2, toTotals, total, summary);
    b.formula(3, 3, toTotals, total * rate, summary);

    CellStyle heading = withBorders(withFont(base, QStringLiteral("Garamond"), 11, true, 2), medium, medium, medium, thin);
    heading.fillColorIndex = 10;
    b.put(5, 1, QStringLiteral("SalePerson"), heading);
    heading.border(CellSide::Left) = {thin, 15};
    b.put(5, 2, QStringLiteral("Total Sales Amount"), heading);
    heading.border(CellSide::Right) = {medium, 15};
    b.put(5, 3, QStringLiteral("Commission"), heading);

    for (int i = 1; i <= n; ++i) {
        const int row = i + 5;  // 0-based sheet row of record i (sheet row i + 6)
        sheet.rowHeights[row] = 15;
        const BorderLine bottom = i == n ? medium : none;
        CellStyle name = withBorders(body, medium, none, bottom, thin);
        CellStyle sales = withBorders(money, thin, none, bottom, thin);
        CellStyle commission = withBorders(money, thin, none, bottom, medium);
        commission.fillColorIndex = 35;
        if (i % 2 == 0) name.fillColorIndex = sales.fillColorIndex = 15;
        name.wrap = false;
        b.put(row, 1, records[i - 1].name, name);
        b.put(row, 2, records[i - 1].sales, sales);
        b.formula(row, 3, QStringLiteral("=RC[-1]*R[%1]C[-2]").arg(-(i + 2)), records[i - 1].sales * rate, commission);
    }

    const int totals = n + 6;
    CellStyle totalsLabel = withFont(base, QStringLiteral("Garamond"), 11, true, 2);
    totalsLabel.fillColorIndex = 10;
    b.put(totals, 1, QStringLiteral("Totals"), totalsLabel);
    CellStyle totalsMoney = withFont(money, QStringLiteral("Century Gothic"), 9, true);
    totalsMoney.fillColorIndex = 35;
    b.formula(totals, 2, QStringLiteral("=SUM(R[-%1]C:R[-1]C)").arg(n), total, totalsMoney);
    b.formula(totals, 3, QStringLiteral("=RC[-1]*R[-%1]C[-2]").arg(n + 3), total * rate, totalsMoney);

    PageSetupData& page = sheet.pageSetup;
    page.printArea = CellArea{0, 0, n + 5, 8};
    page.leftMargin = page.rightMargin = 0.7;
    page.topMargin = page.bottomMargin = 0.5;
    page.headerMargin = page.footerMargin = 0;
    page.orientation = Orientation::Landscape;
    page.paperSize = PaperSize::A4;
    page.zoom = std::nullopt;
    page.fitToPagesWide = page.fitToPagesTall = 1;
    return wb;
}

// Expects two workbooks to hold the same content: style ids may differ between
// their style tables, so formats are compared as the styles they stand for.
inline void expectSameWorkbook(const WorkbookData& expected, const WorkbookData& actual) {
    EXPECT_EQ(expected.palette, actual.palette);
    EXPECT_EQ(expected.activeSheet, actual.activeSheet);
    ASSERT_EQ(expected.sheets.size(), actual.sheets.size());
    auto styleOf = [](const WorkbookData& wb, StyleId id) { return wb.styles.style(id); };
    for (std::size_t k = 0; k < expected.sheets.size(); ++k) {
        const SheetData& e = *expected.sheets[k];
        const SheetData& a = *actual.sheets[k];
        EXPECT_EQ(e.name, a.name);
        EXPECT_TRUE(styleOf(expected, e.defaultStyle) == styleOf(actual, a.defaultStyle));
        ASSERT_EQ(e.rowStyles.size(), a.rowStyles.size());
        for (const auto& [row, id] : e.rowStyles) {
            ASSERT_TRUE(a.rowStyles.count(row)) << "row " << row;
            EXPECT_TRUE(styleOf(expected, id) == styleOf(actual, a.rowStyles.at(row))) << "row " << row;
        }
        ASSERT_EQ(e.columnStyles.size(), a.columnStyles.size());
        for (const auto& [col, id] : e.columnStyles) {
            ASSERT_TRUE(a.columnStyles.count(col)) << "column " << col;
            EXPECT_TRUE(styleOf(expected, id) == styleOf(actual, a.columnStyles.at(col))) << "column " << col;
        }
        EXPECT_EQ(e.standardColumnWidth, a.standardColumnWidth);
        EXPECT_EQ(e.standardRowHeight, a.standardRowHeight);
        EXPECT_EQ(e.columnWidths, a.columnWidths);
        EXPECT_EQ(e.rowHeights, a.rowHeights);
        EXPECT_EQ(e.merges, a.merges);
        EXPECT_TRUE(e.pageSetup == a.pageSetup);
        EXPECT_EQ(e.selection, a.selection);
        EXPECT_EQ(e.activeCell, a.activeCell);
        ASSERT_EQ(e.cells.size(), a.cells.size());
        for (const auto& [at, ec] : e.cells) {
            const Cell* ac = a.cell(at.row, at.col);
            ASSERT_NE(ac, nullptr) << "cell " << at.row << "," << at.col;
            EXPECT_TRUE(ec.value == ac->value) << "value of cell " << at.row << "," << at.col;
            EXPECT_EQ(ec.hasFormula(), ac->hasFormula()) << "cell " << at.row << "," << at.col;
            if (ec.hasFormula() && ac->hasFormula()) {
                EXPECT_EQ(ec.formula->toR1C1(at), ac->formula->toR1C1(at));
                EXPECT_TRUE(ac->resultValid);
            }
            EXPECT_TRUE(styleOf(expected, ec.style) == styleOf(actual, ac->style)) << "format of cell " << at.row << "," << at.col;
        }
    }
}

}  // namespace xls_test
