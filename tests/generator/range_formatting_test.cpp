#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"
#include "generator/range_formatting.h"

#include <gtest/gtest.h>

using namespace generator;
using engine::BorderLine;
using engine::CellSide;

namespace {

class RangeFormatting : public ::testing::Test {
protected:
    void SetUp() override { app->Workbooks().Add(); }
    engine::Range range(const char* text) const { return app->Range(QString::fromLatin1(text)); }
    const engine::CellStyle& styleAt(int row, int col) const {
        const engine::SheetData& sheet = app->ActiveSheet().Data();
        return app->ActiveWorkbook().Data().styles.style(sheet.effectiveStyle(row, col));
    }

    std::unique_ptr<engine::Application> app = engine::createApplication();
};

// Lines are drawn in their order, so a later one wins where two meet; the cells
// around the range keep theirs, and no line is drawn between rows.
TEST_F(RangeFormatting, BordersDrawInTheirOrderWithWeightAndColour) {
    setBorders(range("B4:D4"), {}, engine::BorderWeight::Thin, 15);
    EXPECT_TRUE(app->ActiveSheet().Data().cells.empty());
    setBorders(range("B6:D9"), {.left = true, .top = true, .bottom = true, .right = true, .insideVertical = true},
               engine::BorderWeight::Thin, 15);
    setBorders(range("B6:D6"), {.left = true, .top = true, .bottom = true, .right = true}, engine::BorderWeight::Medium,
               10);
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Left), (engine::Border{BorderLine::Medium, 10}));
    EXPECT_EQ(styleAt(5, 1).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(5, 2).border(CellSide::Left), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(5, 2).border(CellSide::Bottom), (engine::Border{BorderLine::Medium, 10}));
    EXPECT_EQ(styleAt(8, 3).border(CellSide::Right), (engine::Border{BorderLine::Thin, 15}));
    EXPECT_EQ(styleAt(7, 2).border(CellSide::Top).line, BorderLine::None);
    EXPECT_EQ(styleAt(5, 4).border(CellSide::Left).line, BorderLine::None);
}

TEST_F(RangeFormatting, FontTakesNameSizeWeightAndColour) {
    setFont(range("B6:C6"), {"Garamond", 11, true, 2});
    setFont(range("C6"), {"Century Gothic", 9});
    const engine::FontStyle& b = styleAt(5, 1).font;
    EXPECT_EQ(b, (engine::FontStyle{.name = "Garamond", .size = 11, .bold = true, .colorIndex = 2}));
    const engine::FontStyle& c = styleAt(5, 2).font;
    EXPECT_EQ(c, (engine::FontStyle{.name = "Century Gothic", .size = 9, .colorIndex = engine::kColorAutomatic}));
    // A failing member ends the operation there.
    EXPECT_THROW(setFont(range("D6"), {"Garamond", 0, true}), engine::EngineError);
    EXPECT_EQ(styleAt(5, 3).font.name, "Garamond");
    EXPECT_FALSE(styleAt(5, 3).font.bold);
}

}  // namespace
