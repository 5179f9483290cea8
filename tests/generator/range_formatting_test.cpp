#include "engine/application.h"
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
    void SetUp() override { app->Workbooks().Add(); }
    engine::Range range(const char* text) const { return app->Range(QString::fromLatin1(text)); }
    QString selection() const { return app->Selection().Address(); }
    const engine::CellStyle& styleAt(int row, int col) const {
        const engine::SheetData& sheet = app->ActiveSheet().Data();
        return app->ActiveWorkbook().Data().styles.style(sheet.effectiveStyle(row, col));
    }

    std::unique_ptr<engine::Application> app = engine::createApplication();
};

constexpr BorderSides kLeftOnly{.left = true};
constexpr BorderSides kGrid{.left = true, .top = true, .bottom = true, .right = true, .insideVertical = true};
constexpr BorderSides kBox{.left = true, .top = true, .bottom = true, .right = true};

// Each operation changes the range it is given, nothing around it, and leaves the
// selection where it was.
TEST_F(RangeFormatting, OperationsActOnTheGivenRangeOnly) {
    app->Range("A1").Select();
    setInteriorColor(range("C5:D6"), 35);
    setNumberFormat(range("C5:D6"), "0.0%");
    setBorders(range("C5:D6"), kLeftOnly, engine::BorderWeight::Thin, 15);
    writeCell(range("C5:D6"), "kept", {});
    setRowHeight(app->Rows("7:7"), 15);
    setColumnWidth(app->Columns("E:E"), 8.43);
    EXPECT_EQ(selection(), "$A$1");
    EXPECT_EQ(styleAt(5, 3).fillColorIndex, 35);
    EXPECT_EQ(styleAt(5, 3).numberFormat, "0.0%");
    EXPECT_EQ(styleAt(4, 2).border(CellSide::Left).line, BorderLine::Thin);
    EXPECT_EQ(styleAt(4, 3).border(CellSide::Left).line, BorderLine::None);
    EXPECT_EQ(styleAt(4, 4).fillColorIndex, engine::kColorNone);
    EXPECT_EQ(app->Range("C5").FormulaR1C1(), "kept");
    EXPECT_EQ(app->Range("D6").FormulaR1C1(), "");
    EXPECT_EQ(app->Range("Q7").RowHeight(), 15);
    EXPECT_EQ(app->Range("E1").ColumnWidth(), 8.43);
}

TEST_F(RangeFormatting, EmptyRowOrColumnTextIsRefused) {
    EXPECT_THROW(setRowHeight(app->Rows(""), 15), engine::EngineError);
    EXPECT_THROW(setColumnWidth(app->Columns(""), 8), engine::EngineError);
}

TEST_F(RangeFormatting, BordersDrawInTheirOrderWithWeightAndColour) {
    setBorders(range("$B6:$D9"), kGrid, engine::BorderWeight::Thin, 15);
    setBorders(range("$B6:$D6"), kBox, engine::BorderWeight::Medium, 15);
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Left), (engine::Border{BorderLine::Medium, 15}));
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(5, 2).border(CellSide::Bottom), (engine::Border{BorderLine::Medium, 15}));
    EXPECT_EQ(styleAt(8, 3).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(7, 2).border(CellSide::Top).line, BorderLine::None);  // no inside horizontal
}

TEST_F(RangeFormatting, BordersWithNoSideDrawNothing) {
    setBorders(range("$B4:$D4"), {}, engine::BorderWeight::Thin, 15);
    EXPECT_TRUE(app->ActiveSheet().Data().cells.empty());
}

TEST_F(RangeFormatting, BorderSetsLineWeightAndColour) {
    setBorder(range("B2"), engine::BorderEdge::Top, engine::BorderWeight::Medium, 10);
    EXPECT_EQ(styleAt(1, 1).border(CellSide::Top), (engine::Border{BorderLine::Medium, 10}));
    EXPECT_THROW(setBorder(range("B2"), engine::BorderEdge::Top, static_cast<engine::BorderWeight>(3), 10), engine::EngineError);
}

TEST_F(RangeFormatting, RightWinsWhenBothHorizontalFlagsAreSet) {
    setAlignment(range("B2"), {.centreAcross = true, .right = true});
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Right);
    EXPECT_EQ(styleAt(1, 1).vAlign, engine::VerticalAlignment::Bottom);
    setAlignment(range("B2"), {.centreAcross = true, .centreDown = true, .wrap = true});
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Center);
    EXPECT_EQ(styleAt(1, 1).vAlign, engine::VerticalAlignment::Center);
    EXPECT_TRUE(styleAt(1, 1).wrap);
}

TEST_F(RangeFormatting, FalseAlignmentFlagsLeaveTheirProperties) {
    setAlignment(range("B2"), {.wrap = true, .right = true});
    setAlignment(range("B2"), {});
    EXPECT_EQ(styleAt(1, 1).hAlign, engine::HorizontalAlignment::Right);
    EXPECT_TRUE(styleAt(1, 1).wrap);  // only ever switched on
}

TEST_F(RangeFormatting, WriteCellAlwaysSetsWrapping) {
    app->Range("B2").SetWrapText(true);
    writeCell(range("$B2:$B2"), "x", {.merge = true});
    EXPECT_FALSE(styleAt(1, 1).wrap);
    writeCell(range("$C6:$C6"), "Total Sales Amount", {.merge = true, .wrap = true});
    EXPECT_TRUE(styleAt(5, 2).wrap);
}

TEST_F(RangeFormatting, WriteCellMergesOnlyAreasOfSeveralCells) {
    writeCell(range("$B7:$B7"), "Aldo Fennick", {.merge = true});
    EXPECT_TRUE(app->ActiveSheet().Data().merges.empty());
    writeCell(range("$B1:$D1"), "Sales Commission Calculator", {.merge = true});
    ASSERT_EQ(app->ActiveSheet().Data().merges.size(), 1u);
    EXPECT_EQ(app->ActiveSheet().Data().merges[0], (engine::CellArea{0, 1, 0, 3}));
    EXPECT_EQ(app->Range("B1").FormulaR1C1(), "Sales Commission Calculator");
}

TEST_F(RangeFormatting, FontTakesStyleSizeColourAndName) {
    setFont(range("B6"), {"Bold", 11, engine::kColorAutomatic, "Garamond"});
    const engine::FontStyle& f = styleAt(5, 1).font;
    EXPECT_TRUE(f.bold);
    EXPECT_EQ(f.size, 11);
    EXPECT_EQ(f.colorIndex, engine::kColorAutomatic);
    EXPECT_EQ(f.name, "Garamond");
}

// A failing member ends the operation there.
TEST_F(RangeFormatting, FailureEndsTheOperation) {
    EXPECT_THROW(setFont(range("B2"), {"Bold", 0, 10, "Garamond"}), engine::EngineError);
    EXPECT_TRUE(styleAt(1, 1).font.bold);
    EXPECT_EQ(styleAt(1, 1).font.name, "Arial");
    EXPECT_THROW(writeCell(range("$B2:$Z"), "x", {}), engine::EngineError);
    EXPECT_EQ(app->Range("B2").FormulaR1C1(), "");
}

TEST_F(RangeFormatting, AfterTheInstanceQuitEveryOperationFails) {
    const engine::Range cell = range("B2");
    app->Quit();
    EXPECT_THROW(setInteriorColor(cell, 2), shell::Failure);
    EXPECT_THROW(setAlignment(cell, {.centreAcross = true}), shell::Failure);
}

}  // namespace
