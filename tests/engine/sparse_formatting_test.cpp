// Formats of the whole sheet, whole rows and whole columns are kept sparse, and
// cells show the format that spreadsheets give them.
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

class SparseFormatting : public ::testing::Test {
protected:
    void SetUp() override { app.Workbooks().Add(); }
    const SheetData& sheet() const { return app.ActiveSheet().Data(); }
    const CellStyle& styleAt(const char* ref) const {
        const CellArea a = app.Range(QString::fromLatin1(ref)).Area();
        return app.ActiveWorkbook().Data().styles.style(sheet().effectiveStyle(a.firstRow, a.firstCol));
    }
    Application app;
};

TEST_F(SparseFormatting, WholeSheetFormatTouchesNoCell) {
    app.Cells().Select();
    app.Selection().Font().SetName("Arial");
    app.Selection().Font().SetSize(10);
    app.Selection().SetVerticalAlignment(VerticalAlignment::Center);
    app.Selection().SetWrapText(true);
    app.Selection().Interior().SetColorIndex(2);
    EXPECT_TRUE(sheet().cells.empty());
    EXPECT_TRUE(sheet().rowStyles.empty());
    EXPECT_TRUE(sheet().columnStyles.empty());
    EXPECT_EQ(styleAt("IV65536").fillColorIndex, 2);
    EXPECT_EQ(styleAt("A1").vAlign, VerticalAlignment::Center);
    EXPECT_TRUE(styleAt("Q300").wrap);
}

TEST_F(SparseFormatting, WholeSheetFormatReachesStoredCellsRowsAndColumns) {
    app.Range("B2").SetNumberFormat("0.00");
    app.Rows("5:5").Font().SetBold(true);
    app.Columns("C:C").Interior().SetColorIndex(35);
    app.Cells().Font().SetSize(14);
    EXPECT_EQ(styleAt("B2").font.size, 14);
    EXPECT_EQ(styleAt("B2").numberFormat, "0.00");
    EXPECT_EQ(styleAt("A5").font.size, 14);
    EXPECT_TRUE(styleAt("A5").font.bold);
    EXPECT_EQ(styleAt("C900").font.size, 14);
    EXPECT_EQ(styleAt("C900").fillColorIndex, 35);
}

TEST_F(SparseFormatting, RowFormatWinsOverColumnFormatWhereNoCellIsStored) {
    app.Rows("3:3").Interior().SetColorIndex(15);
    EXPECT_TRUE(sheet().cells.empty());
    app.Columns("B:B").Interior().SetColorIndex(35);
    // The crossing keeps the row's format with the column's change.
    EXPECT_EQ(styleAt("B3").fillColorIndex, 35);
    EXPECT_EQ(styleAt("A3").fillColorIndex, 15);
    EXPECT_EQ(styleAt("B4").fillColorIndex, 35);
    EXPECT_EQ(sheet().cells.size(), 1u);
}

TEST_F(SparseFormatting, FormattingRowsCreatesCellsWhereFormattedColumnsCross) {
    app.Columns("B:C").Font().SetItalic(true);
    app.Rows("7:8").Font().SetBold(true);
    // B7, C7, B8, C8 keep the italic of their column and get the bold of their row.
    EXPECT_EQ(sheet().cells.size(), 4u);
    EXPECT_TRUE(styleAt("C8").font.italic);
    EXPECT_TRUE(styleAt("C8").font.bold);
    EXPECT_FALSE(styleAt("D8").font.italic);
    EXPECT_TRUE(styleAt("D8").font.bold);
    EXPECT_TRUE(styleAt("B9").font.italic);
    EXPECT_FALSE(styleAt("B9").font.bold);
}

TEST_F(SparseFormatting, ACellIsCreatedWithTheFormatItShowed) {
    app.Columns("D:D").SetHorizontalAlignment(HorizontalAlignment::Right);
    app.Range("D4").SetFormulaR1C1("x");
    EXPECT_EQ(styleAt("D4").hAlign, HorizontalAlignment::Right);
    app.Range("D4").Font().SetSize(20);
    EXPECT_EQ(styleAt("D4").hAlign, HorizontalAlignment::Right);
    EXPECT_EQ(styleAt("D5").font.size, 10);
}

TEST_F(SparseFormatting, EqualFormatsShareOneStyle) {
    const std::size_t before = app.ActiveWorkbook().Data().styles.size();
    for (int r = 1; r <= 500; ++r) {
        const engine::Range cell = app.Range(QStringLiteral("B%1").arg(r));
        cell.Font().SetName("Century Gothic");
        cell.Font().SetSize(9);
        cell.SetNumberFormat("$#,##0.00");
    }
    EXPECT_EQ(sheet().cells.size(), 500u);
    EXPECT_LE(app.ActiveWorkbook().Data().styles.size(), before + 3);
}

TEST_F(SparseFormatting, ClearGivesCellsTheDefaultFormatAgain) {
    app.Cells().Interior().SetColorIndex(2);
    app.Range("B2:C3").SetFormulaR1C1("5");
    app.Range("B2:C3").Font().SetBold(true);
    app.Range("B2").Clear();
    EXPECT_TRUE(isEmpty(app.Range("B2").Value()));
    EXPECT_EQ(styleAt("B2"), CellStyle{});
    EXPECT_TRUE(styleAt("C3").font.bold);
    EXPECT_EQ(styleAt("C3").fillColorIndex, 2);
    app.Cells().Clear();
    EXPECT_TRUE(sheet().cells.empty());
    EXPECT_EQ(styleAt("C3"), CellStyle{});
}

TEST_F(SparseFormatting, ClearKeepsSizes) {
    app.Rows("2:2").SetRowHeight(30);
    app.Columns("B:B").SetColumnWidth(20);
    app.Cells().Clear();
    EXPECT_EQ(app.Range("A2").RowHeight(), 30);
    EXPECT_EQ(app.Range("B1").ColumnWidth(), 20);
}

TEST_F(SparseFormatting, SizesOfWholeSheetChangeTheStandardSize) {
    app.Cells().SetRowHeight(20);
    app.Cells().SetColumnWidth(12);
    EXPECT_TRUE(sheet().rowHeights.empty());
    EXPECT_TRUE(sheet().columnWidths.empty());
    EXPECT_EQ(app.Range("Z9999").RowHeight(), 20);
    EXPECT_EQ(app.Range("Z9999").ColumnWidth(), 12);
    app.Range("B7:C9").SetRowHeight(15);
    EXPECT_EQ(sheet().rowHeights.size(), 3u);
    EXPECT_THROW(app.Rows("1:1").SetRowHeight(410), EngineError);
    EXPECT_THROW(app.Columns("A:A").SetColumnWidth(-1), EngineError);
}

TEST_F(SparseFormatting, AreasSpanningAllRowsOrColumnsAreFormattedAsSuch) {
    app.Range("A1:IU65536").Font().SetBold(true);
    app.Range("A3:IV4").Font().SetItalic(true);
    EXPECT_EQ(sheet().columnStyles.size(), 255u);
    EXPECT_EQ(sheet().rowStyles.size(), 2u);
    EXPECT_EQ(sheet().cells.size(), 2u * 255);  // the crossings of formatted rows and columns
    EXPECT_TRUE(styleAt("IU3").font.bold);
    EXPECT_TRUE(styleAt("IU3").font.italic);
    EXPECT_FALSE(styleAt("IV3").font.bold);
}

TEST_F(SparseFormatting, HugeCellAreasAreRefusedNotAllocated) {
    EXPECT_THROW(app.Range("B1:IV65000").Font().SetBold(true), EngineError);
    EXPECT_THROW(app.Range("B1:IV65000").SetFormulaR1C1("1"), EngineError);
    EXPECT_TRUE(sheet().cells.empty());
}

// Edge lines go to the outer cells of their side; inside lines to both neighbours.
TEST_F(SparseFormatting, BordersAreStoredOnTheCellsOfTheirSide) {
    const engine::Range r = app.Range("B6:D9");
    r.Borders(BorderEdge::Left).SetWeight(BorderWeight::Medium);
    r.Borders(BorderEdge::Bottom).SetLineStyle(LineStyle::Continuous);
    r.Borders(BorderEdge::InsideVertical).SetColorIndex(15);
    EXPECT_EQ(styleAt("B6").border(CellSide::Left).line, BorderLine::Medium);
    EXPECT_EQ(styleAt("B9").border(CellSide::Left).line, BorderLine::Medium);
    EXPECT_EQ(styleAt("C6").border(CellSide::Left).colorIndex, 15);  // inside line
    EXPECT_EQ(styleAt("B6").border(CellSide::Right).colorIndex, 15);
    EXPECT_EQ(styleAt("D6").border(CellSide::Right).line, BorderLine::None);
    EXPECT_EQ(styleAt("B8").border(CellSide::Bottom).line, BorderLine::None);
    EXPECT_EQ(styleAt("C9").border(CellSide::Bottom).line, BorderLine::Thin);
    EXPECT_EQ(styleAt("A6").border(CellSide::Right).line, BorderLine::None);
    EXPECT_EQ(r.Borders(BorderEdge::Left).Weight(), BorderWeight::Medium);
    EXPECT_EQ(r.Borders(BorderEdge::Right).LineStyle(), LineStyle::None);
    r.Borders(BorderEdge::Left).SetLineStyle(LineStyle::None);
    EXPECT_EQ(styleAt("B7").border(CellSide::Left).line, BorderLine::None);
}

// A border is set in three steps on the same cells; a cell cleared in between
// still gets the later steps.
TEST_F(SparseFormatting, LaterBorderStepsReachCellsClearedInBetween) {
    const engine::Range strip = app.Range("B1:C100");
    strip.Borders(BorderEdge::Left).SetLineStyle(LineStyle::Continuous);
    app.Range("B50").Clear();
    strip.Borders(BorderEdge::Left).SetColorIndex(15);
    EXPECT_EQ(styleAt("B50").border(CellSide::Left), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt("B49").border(CellSide::Left), (engine::Border{BorderLine::Thin, 15}));
    app.Cells().Clear();
    strip.Borders(BorderEdge::Left).SetWeight(BorderWeight::Medium);
    EXPECT_EQ(styleAt("B100").border(CellSide::Left).line, BorderLine::Medium);
}

// Edges of a large selection create the cells of their side only.
TEST_F(SparseFormatting, EdgesOfALargeSelectionStoreOnlyTheirCells) {
    app.Range("C50").SetFormulaR1C1("inside");
    app.Range("B1:D100").Select();
    app.Selection().Borders(BorderEdge::Left).SetWeight(BorderWeight::Medium);
    app.Selection().Borders(BorderEdge::Right).SetWeight(BorderWeight::Thin);
    app.Selection().Borders(BorderEdge::Left).SetColorIndex(10);
    EXPECT_EQ(sheet().cells.size(), 201u);
    EXPECT_EQ(styleAt("B77").border(CellSide::Left), (engine::Border{BorderLine::Medium, 10}));
    EXPECT_EQ(styleAt("D100").border(CellSide::Right).line, BorderLine::Thin);
    EXPECT_EQ(styleAt("C50").border(CellSide::Left).line, BorderLine::None);
    EXPECT_EQ(app.Range("C50").FormulaR1C1(), "inside");
    app.Selection().Borders(BorderEdge::InsideVertical).SetWeight(BorderWeight::Thick);
    EXPECT_EQ(sheet().cells.size(), 300u);
    EXPECT_EQ(styleAt("C50").border(CellSide::Left).line, BorderLine::Thick);
    EXPECT_EQ(styleAt("B77").border(CellSide::Left).line, BorderLine::Medium);
}

TEST_F(SparseFormatting, InsideLinesOfOneColumnOrRowDrawNothing) {
    app.Range("B2:B5").Borders(BorderEdge::InsideVertical).SetWeight(BorderWeight::Thick);
    app.Range("B2:E2").Borders(BorderEdge::InsideHorizontal).SetWeight(BorderWeight::Thick);
    for (const auto& [at, cell] : sheet().cells)
        EXPECT_EQ(app.ActiveWorkbook().Data().styles.style(cell.style), CellStyle{});
}

TEST_F(SparseFormatting, BorderOfWholeColumnsIsAColumnFormat) {
    app.Columns("B:D").Borders(BorderEdge::Left).SetWeight(BorderWeight::Thin);
    EXPECT_TRUE(sheet().cells.empty());
    EXPECT_EQ(styleAt("B60000").border(CellSide::Left).line, BorderLine::Thin);
    EXPECT_EQ(styleAt("C60000").border(CellSide::Left).line, BorderLine::None);
}

TEST_F(SparseFormatting, BorderValuesAreChecked) {
    EXPECT_THROW(app.Range("B2").Borders(static_cast<BorderEdge>(6)), EngineError);
    EXPECT_THROW(app.Range("B2").Borders(BorderEdge::Top).SetWeight(static_cast<BorderWeight>(3)), EngineError);
    EXPECT_THROW(app.Range("B2").Borders(BorderEdge::Top).SetLineStyle(static_cast<LineStyle>(-1)), EngineError);
    EXPECT_THROW(app.Range("B2").Borders(BorderEdge::Top).SetColorIndex(57), EngineError);
}

TEST_F(SparseFormatting, MergeJoinsOverlappingAreasAndKeepsTheTopLeftValue) {
    app.Range("B1").SetFormulaR1C1("title");
    app.Range("C1").SetFormulaR1C1("lost");
    app.Range("B1:C1").Merge();
    app.Range("C1:D2").Merge();
    ASSERT_EQ(sheet().merges.size(), 1u);
    EXPECT_EQ(sheet().merges[0], (CellArea{0, 1, 1, 3}));
    EXPECT_EQ(app.Range("B1").FormulaR1C1(), "title");
    EXPECT_EQ(app.Range("C1").FormulaR1C1(), "");
    EXPECT_TRUE(app.Range("D2").MergeCells());
    app.Range("F5").Merge();
    EXPECT_EQ(sheet().merges.size(), 1u);
    EXPECT_FALSE(app.Range("F5").MergeCells());
    app.Range("A1:B1").Clear();
    EXPECT_TRUE(sheet().merges.empty());
}

TEST_F(SparseFormatting, FormatValuesAreChecked) {
    const engine::Range b2 = app.Range("B2");
    EXPECT_THROW(b2.Font().SetSize(0), EngineError);
    EXPECT_THROW(b2.Font().SetName(""), EngineError);
    EXPECT_THROW(b2.Font().SetFontStyle("Heavy"), EngineError);
    EXPECT_THROW(b2.Font().SetColorIndex(0), EngineError);
    EXPECT_THROW(b2.Interior().SetColorIndex(57), EngineError);
    EXPECT_THROW(b2.SetHorizontalAlignment(static_cast<HorizontalAlignment>(4)), EngineError);
    EXPECT_THROW(b2.SetVerticalAlignment(static_cast<VerticalAlignment>(3)), EngineError);
    EXPECT_TRUE(sheet().cells.empty());
    b2.Font().SetFontStyle("Bold Italic");
    EXPECT_EQ(b2.Font().FontStyle(), "Bold Italic");
    b2.Font().SetFontStyle("Normal");
    EXPECT_EQ(b2.Font().FontStyle(), "Regular");
    b2.Interior().SetColorIndex(kColorNone);
    EXPECT_EQ(b2.Interior().ColorIndex(), kColorNone);
}

TEST_F(SparseFormatting, FontStylesAreReadInAnyCaseWithBlanksAround) {
    const engine::Range b2 = app.Range("B2");
    const struct {
        const char* name;
        const char* style;  // as read back, or null when refused
    } cases[] = {
        {"bold", "Bold"},          {" Italic ", "Italic"}, {"BOLD ITALIC", "Bold Italic"},
        {"normal", "Regular"},     {"Regular", "Regular"}, {"\tbold italic", "Bold Italic"},
        {"Bolder", nullptr},       {"", nullptr},          {"  ", nullptr},
        {"Bold  Italic", nullptr}, {"Nermal", nullptr},    {"Ital", nullptr},
    };
    for (const auto& c : cases) {
        b2.Font().SetFontStyle("Bold");
        if (c.style) {
            b2.Font().SetFontStyle(QString::fromUtf8(c.name));
            EXPECT_EQ(b2.Font().FontStyle(), c.style) << c.name;
        } else {
            EXPECT_THROW(b2.Font().SetFontStyle(QString::fromUtf8(c.name)), EngineError) << c.name;
            EXPECT_EQ(b2.Font().FontStyle(), "Bold") << c.name;
        }
    }
    EXPECT_THROW(b2.Font().SetName(" \t "), EngineError);
    b2.Font().SetName(" Garamond");
    EXPECT_EQ(b2.Font().Name(), " Garamond");
}

}  // namespace
