#include "engine/render/picture_axis.h"
#include "engine/render/sheet_geometry.h"

#include "support/isolated_environment.h"

#include <gtest/gtest.h>

using namespace engine::render;

namespace {
class RenderGeometry : public ::testing::Test {
protected:
    IsolatedEnvironment env;
};
}  // namespace

TEST_F(RenderGeometry, ColumnWidthsInCharactersBecomeScreenPixels) {
    EXPECT_EQ(columnWidthPixels(8.43), 64);
    EXPECT_EQ(columnWidthPixels(28), 201);
    EXPECT_EQ(columnWidthPixels(3.71), 31);
    EXPECT_EQ(columnWidthPixels(1), 12);
    EXPECT_EQ(columnWidthPixels(0.5), 6);
    EXPECT_EQ(columnWidthPixels(0), 0);
    EXPECT_EQ(columnWidthPixels(-3), 0);
    EXPECT_EQ(columnWidthPixels(255), columnWidthPixels(1e9));  // never more than the widest column
}

TEST_F(RenderGeometry, RowHeightsAndFontSizesInPointsBecomePixels) {
    EXPECT_EQ(rowHeightPixels(12.75), 17);
    EXPECT_EQ(rowHeightPixels(15), 20);
    EXPECT_EQ(rowHeightPixels(38.25), 51);
    EXPECT_EQ(rowHeightPixels(6.75), 9);
    EXPECT_EQ(rowHeightPixels(0), 0);
    EXPECT_EQ(rowHeightPixels(409.5), rowHeightPixels(1e9));
    EXPECT_EQ(fontPixelSize(10), 13);
    EXPECT_EQ(fontPixelSize(9), 12);
    EXPECT_EQ(fontPixelSize(11), 15);
    EXPECT_EQ(fontPixelSize(24), 32);
    EXPECT_EQ(fontPixelSize(0), fontPixelSize(1));
}

TEST_F(RenderGeometry, AnAxisKeepsEveryShownRowAndSkipsHiddenOnes) {
    const PictureAxis axis = layoutAxis(3, 7, [](int row) { return row == 5 ? 0 : 10; });
    EXPECT_EQ(axis.indices, (std::vector<int>{3, 4, 6, 7}));
    EXPECT_EQ(axis.starts, (std::vector<int>{0, 10, 20, 30, 40}));
    EXPECT_EQ(axis.cutOff, 0);
    EXPECT_EQ(axis.positionsOf(4, 6), (std::pair<int, int>{1, 3}));
    EXPECT_EQ(axis.positionsOf(5, 5), (std::pair<int, int>{2, 2}));  // hidden: nothing shows

    // The rows a stretch of pixels meets, and a part of the axis at the same pixels.
    EXPECT_EQ(axis.positionsCovering(0, 10), (std::pair<int, int>{0, 1}));
    EXPECT_EQ(axis.positionsCovering(9, 11), (std::pair<int, int>{0, 2}));
    EXPECT_EQ(axis.positionsCovering(-50, 500), (std::pair<int, int>{0, 4}));
    EXPECT_EQ(axis.positionsCovering(40, 60), (std::pair<int, int>{4, 4}));
    EXPECT_EQ(axis.positionsCovering(15, 15), (std::pair<int, int>{0, 0}));
    const PictureAxis part = axis.slice(1, 3);
    EXPECT_EQ(part.indices, (std::vector<int>{4, 6}));
    EXPECT_EQ(part.starts, (std::vector<int>{10, 20, 30}));
}

TEST_F(RenderGeometry, ALongAxisIsCutAfterTheLastWholeRowThatFitsBesideTheBand) {
    // 2000 rows of 20 pixels: 22,315 pixels remain beside a 24-pixel band, room for 1115 rows.
    const PictureAxis axis = layoutAxis(0, 1999, [](int) { return 20; }).cutTo(22339, 24, 1999);
    EXPECT_EQ(axis.count(), 1115);
    EXPECT_EQ(axis.extent(), 22300);
    EXPECT_EQ(axis.cutOff, 885);

    // Hidden rows after the last one kept count as cut off too.
    const PictureAxis hidden = layoutAxis(0, 9, [](int row) { return row == 5 ? 0 : 10; }).cutTo(60, 24, 9);
    EXPECT_EQ(hidden.indices, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(hidden.cutOff, 7);

    // Exactly as long as the limit: nothing is cut and no band is needed.
    const PictureAxis exact = layoutAxis(0, 99, [](int) { return 10; }).cutTo(1000, 24, 99);
    EXPECT_EQ(exact.count(), 100);
    EXPECT_EQ(exact.cutOff, 0);
}
