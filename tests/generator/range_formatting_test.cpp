#include "generator/connection.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"
#include "generator/range_formatting.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

using namespace generator;
using engine::CellSide;
using engine::BorderLine;

namespace {

class RangeFormatting : public ::testing::Test {
protected:
    void SetUp() override {
        StartExcel();
        ExcelApp->Workbooks().Add();
    }
    void TearDown() override { ReleaseExcel(); }
    QString selection() const { return ExcelApp->Selection().Address(); }
    const engine::CellStyle& styleAt(int row, int col) const {
        const engine::SheetData& sheet = ExcelApp->ActiveSheet().Data();
        return ExcelApp->ActiveWorkbook().Data().styles.style(sheet.effectiveStyle(row, col));
    }
};

TEST_F(RangeFormatting, EmptyRangeTextActsOnTheCurrentSelection) {
    ExcelApp->Range("C5:D6").Select();
    SetInteriorColor("", 35);
    SetNumberFormat("", "0.0%");
    SetBorders("", false, true, false, false, false, false, engine::BorderWeight::Thin, 15);
    WriteCell("", "kept", false, false);
    EXPECT_EQ(selection(), "$C$5:$D$6");
    EXPECT_EQ(styleAt(5, 3).fillColorIndex, 35);
    EXPECT_EQ(styleAt(5, 3).numberFormat, "0.0%");
    EXPECT_EQ(styleAt(4, 2).border(CellSide::Left).line, BorderLine::Thin);
    EXPECT_EQ(ExcelApp->Range("C5").FormulaR1C1(), "kept");
    EXPECT_EQ(ExcelApp->Range("D6").FormulaR1C1(), "");
}

TEST_F(RangeFormatting, GivenRangeIsSelectedFirst) {
    SetInteriorColor("B8:C8", 15);
    EXPECT_EQ(selection(), "$B$8:$C$8");
    SetNumberFormat("$C7:$C7", "$#,##0.00");
    EXPECT_EQ(selection(), "$C$7");
    SetRowHeight("7:7", 15);
    EXPECT_EQ(selection(), "$7:$7");
    EXPECT_EQ(ExcelApp->Range("Q7").RowHeight(), 15);
    SetColumnWidth("E:E", 8.43);
    EXPECT_EQ(selection(), "$E:$E");
    EXPECT_EQ(ExcelApp->Range("E1").ColumnWidth(), 8.43);
}

TEST_F(RangeFormatting, SizesAlwaysSelectAndTakeNoEmptyText) {
    EXPECT_THROW(SetRowHeight("", 15), engine::EngineError);
    EXPECT_THROW(SetColumnWidth("", 8), engine::EngineError);
}

TEST_F(RangeFormatting, BordersDrawInTheirOrderWithWeightAndColour) {
    SetBorders("$B6:$D9", false, true, true, true, true, true, engine::BorderWeight::Thin, 15);
    SetBorders("$B6:$D6", false, true, true, true, true, false, engine::BorderWeight::Medium, 15);
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Left), (engine::Border{BorderLine::Medium, 15}));
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(5, 2).border(CellSide::Bottom), (engine::Border{BorderLine::Medium, 15}));
    EXPECT_EQ(styleAt(8, 3).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(7, 2).border(CellSide::Top).line, BorderLine::None);  // no inside horizontal
}

TEST_F(RangeFormatting, BordersWithNoFlagStillSelectAndDrawNothing) {
    SetBorders("$B4:$D4", false, false, false, false, false, false, engine::BorderWeight::Thin, 15);
    EXPECT_EQ(selection(), "$B$4:$D$4");
    EXPECT_TRUE(ExcelApp->ActiveSheet().Data().cells.empty());
}

TEST_F(RangeFormatting, BorderSetsLineWeightAndColour) {
    ExcelApp->Range("B2").Select();
    SetBorder(engine::BorderEdge::Top, engine::BorderWeight::Medium, 10);
    EXPECT_EQ(styleAt(1, 1).border(CellSide::Top), (engine::Border{BorderLine::Medium, 10}));
    EXPECT_THROW(SetBorder(engine::BorderEdge::Top, static_cast<engine::BorderWeight>(3), 10), engine::EngineError);
}

TEST_F(RangeFormatting, RightWinsWhenBothHorizontalFlagsAreSet) {
    ExcelApp->Range("B2").Select();
    SetAlignment(true, false, false, true);
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Right);
    EXPECT_EQ(styleAt(1, 1).vAlign, engine::VerticalAlignment::Bottom);
    SetAlignment(true, true, true, false);
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Center);
    EXPECT_EQ(styleAt(1, 1).vAlign, engine::VerticalAlignment::Center);
    EXPECT_TRUE(styleAt(1, 1).wrap);
}

TEST_F(RangeFormatting, FalseAlignmentFlagsLeaveTheirProperties) {
    ExcelApp->Range("B2").Select();
    SetAlignment(false, false, true, true);
    SetAlignment(false, false, false, false);
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Right);
    EXPECT_TRUE(styleAt(1, 1).wrap);  // only ever switched on
}

TEST_F(RangeFormatting, WriteCellAlwaysSetsWrapping) {
    ExcelApp->Range("B2").SetWrapText(true);
    WriteCell("$B2:$B2", "x", true, false);
    EXPECT_FALSE(styleAt(1, 1).wrap);
    WriteCell("$C6:$C6", "Total Sales Amount", true, true);
    EXPECT_TRUE(styleAt(5, 2).wrap);
}

TEST_F(RangeFormatting, WriteCellMergesOnlyAreasOfSeveralCells) {
    WriteCell("$B7:$B7", "Aldo Fennick", true, false);
    EXPECT_TRUE(ExcelApp->ActiveSheet().Data().merges.empty());
    WriteCell("$B1:$D1", "Sales Commission Calculator", true, false);
    ASSERT_EQ(ExcelApp->ActiveSheet().Data().merges.size(), 1u);
    EXPECT_EQ(ExcelApp->ActiveSheet().Data().merges[0], (engine::CellArea{0, 1, 0, 3}));
    EXPECT_EQ(ExcelApp->Range("B1").FormulaR1C1(), "Sales Commission Calculator");
}

TEST_F(RangeFormatting, FontTakesStyleSizeColourAndName) {
    ExcelApp->Range("B6").Select();
    SetFont("Bold", 11, engine::kColorAutomatic, "Garamond");
    const engine::FontStyle& f = styleAt(5, 1).font;
    EXPECT_TRUE(f.bold);
    EXPECT_EQ(f.size, 11);
    EXPECT_EQ(f.colorIndex, engine::kColorAutomatic);
    EXPECT_EQ(f.name, "Garamond");
}

// A failing member ends the operation there.
TEST_F(RangeFormatting, FailureEndsTheOperation) {
    ExcelApp->Range("B2").Select();
    EXPECT_THROW(SetFont("Bold", 0, 10, "Garamond"), engine::EngineError);
    EXPECT_TRUE(styleAt(1, 1).font.bold);
    EXPECT_EQ(styleAt(1, 1).font.name, "Arial");
    EXPECT_THROW(WriteCell("$B2:$Z", "x", false, false), engine::EngineError);
    EXPECT_EQ(ExcelApp->Range("B2").FormulaR1C1(), "");
}

TEST_F(RangeFormatting, WithoutAnInstanceEveryOperationFails) {
    ReleaseExcel();
    EXPECT_THROW(SetInteriorColor("B2", 2), shell::Failure);
    EXPECT_THROW(SetAlignment(true, true, true, false), shell::Failure);
}

}  // namespace
