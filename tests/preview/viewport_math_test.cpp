// The viewport's arithmetic, in twips.
#include "preview/viewport_math.h"
#include "shell/failure.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using preview::Axis;
using preview::TwipsPoint;
using preview::TwipsSize;
using preview::ViewportMath;

namespace {

// The preview's viewport: 622 × 495 pixels.
constexpr TwipsSize kViewport{9'330, 7'425};

class ViewportMathTest : public ::testing::Test {
protected:
    ViewportMath view;

    // A zoom as the window makes it: the factor, then the repaint's drawn size.
    bool zoomTo(float factor, TwipsPoint anchor = {}) {
        if (!view.setZoom(factor, anchor)) return false;
        view.fitDrawSize();
        return true;
    }
};

constexpr float kFactors[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.25f};

TEST_F(ViewportMathTest, SetUpStartsAtZoomOneWithTheCanvasAtTheTopLeft) {
    view.setUp({4'500, 3'000}, kViewport);
    EXPECT_EQ(view.zoom(), 1.0f);
    EXPECT_EQ(view.zoomPercent(), 100);
    EXPECT_EQ(view.base().width, 4'500);
    EXPECT_EQ(view.drawn().height, 3'000);
    EXPECT_EQ(view.canvasPosition().x, 0);
    EXPECT_EQ(view.canvasPosition().y, 0);
}

// Every factor is taken on every sheet, however large: the canvas is virtual.
TEST_F(ViewportMathTest, NineFactorsOnEverySheetAndNothingPastEitherEnd) {
    const TwipsSize bases[] = {{1'000, 1'000}, {9'040, 3'975}, {9'040, 8'356'650}};
    for (const TwipsSize& base : bases) {
        SCOPED_TRACE(base.height);
        view.setUp(base, kViewport);
        ASSERT_TRUE(zoomTo(0.25f));
        for (const float factor : kFactors) {
            if (factor != kFactors[0]) {
                ASSERT_TRUE(zoomTo(view.zoomCandidate(0)));  // one step in
            }
            EXPECT_EQ(view.zoom(), factor);
            EXPECT_EQ(view.zoomPercent(), std::lround(factor * 100));
            EXPECT_EQ(view.drawn().width, int32_t(std::floor(base.width * double(factor))));
            EXPECT_EQ(view.drawn().height, int32_t(std::floor(base.height * double(factor))));
        }
        // At 2.25 Zoom In does nothing; at 0.25 Zoom Out does nothing.
        EXPECT_FALSE(zoomTo(view.zoomCandidate(0)));
        EXPECT_EQ(view.zoom(), 2.25f);
        ASSERT_TRUE(zoomTo(0.25f));
        EXPECT_FALSE(zoomTo(view.zoomCandidate(1)));
        EXPECT_FALSE(zoomTo(view.zoomCandidate(-3)));  // any nonzero direction zooms out
        EXPECT_EQ(view.zoom(), 0.25f);
    }
}

TEST_F(ViewportMathTest, DrawnSizeIsFloorOfBaseTimesZoom) {
    view.setUp({1'001, 999}, kViewport);
    ASSERT_TRUE(zoomTo(0.25f));
    EXPECT_EQ(view.drawn().width, 250);   // floor(250.25)
    EXPECT_EQ(view.drawn().height, 249);  // floor(249.75)
    ASSERT_TRUE(zoomTo(1.75f));
    EXPECT_EQ(view.drawn().width, 1'751);  // floor(1751.75)
}

// The bars cover the whole canvas at every zoom: their last value shows its far edge.
TEST_F(ViewportMathTest, ScrollRangesCoverTheCanvasAtEveryZoom) {
    // The 32,767-record sheet is 557,111 pixels tall at zoom 1.
    const TwipsSize bases[] = {{4'500, 3'000}, {9'040, 3'975}, {9'040, 8'356'665}};
    for (const TwipsSize& base : bases) {
        view.setUp(base, kViewport);
        for (const float factor : kFactors) {
            SCOPED_TRACE(testing::Message() << base.height << " at " << factor);
            ASSERT_TRUE(zoomTo(factor));
            for (const Axis axis : {Axis::Horizontal, Axis::Vertical}) {
                const double canvas = axis == Axis::Horizontal ? view.drawn().width : view.drawn().height;
                const double viewport = axis == Axis::Horizontal ? kViewport.width : kViewport.height;
                const int32_t expected = canvas <= viewport ? 0 : int32_t(std::ceil((canvas - viewport) / 15));
                EXPECT_EQ(view.scrollMaximum(axis), expected);

                view.scrollTo(axis, view.scrollMaximum(axis));
                EXPECT_EQ(view.farthest(axis), std::min(0.0, viewport - canvas));
                const TwipsPoint& at = view.canvasPosition();
                EXPECT_EQ(axis == Axis::Horizontal ? at.x : at.y, view.farthest(axis));
                EXPECT_EQ(view.scrollValue(axis), view.scrollMaximum(axis));
                view.scrollTo(axis, 0);
                EXPECT_EQ(view.scrollValue(axis), 0);
            }
        }
    }
}

TEST_F(ViewportMathTest, BarValueAndCanvasPositionFollowEachOther) {
    view.setUp({13'500, 10'500}, kViewport);  // overhang 4,170 × 3,075 twips
    struct Case {
        int32_t value;
        double position;  // canvas left for that value
    };
    const Case cases[] = {{0, 0}, {1, -15}, {100, -1'500}, {278, -4'170}, {279, -4'170}, {-5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        view.scrollTo(Axis::Horizontal, c.value);
        EXPECT_EQ(view.canvasPosition().x, c.position);
    }
    EXPECT_EQ(view.scrollMaximum(Axis::Horizontal), 278);
    // A canvas put between two units shows on the nearer.
    view.moveCanvasTo({-1'507, 0});
    EXPECT_EQ(view.scrollValue(Axis::Horizontal), 100);
    view.moveCanvasTo({-1'508, 0});
    EXPECT_EQ(view.scrollValue(Axis::Horizontal), 101);
}

TEST_F(ViewportMathTest, ZoomKeepsTheSheetPointUnderTheAnchor) {
    view.setUp({90'000, 900'000}, kViewport);
    view.moveCanvasTo({-30'000, -300'000});
    const TwipsPoint anchor{3'000, 1'500};
    // The sheet point under the anchor, at zoom 1.
    const double pictureX = anchor.x - view.canvasPosition().x;
    const double pictureY = anchor.y - view.canvasPosition().y;
    for (const float factor : {1.25f, 2.25f, 0.5f, 1.0f}) {
        SCOPED_TRACE(factor);
        ASSERT_TRUE(zoomTo(factor, anchor));
        EXPECT_NEAR(anchor.x - view.canvasPosition().x, pictureX * factor, 1e-6);
        EXPECT_NEAR(anchor.y - view.canvasPosition().y, pictureY * factor, 1e-6);
    }
    // Near an edge the canvas keeps to its range rather than leave a gap.
    view.moveCanvasTo({0, 0});
    ASSERT_TRUE(zoomTo(0.25f, {9'000, 7'000}));
    EXPECT_EQ(view.canvasPosition().x, 0);
    EXPECT_EQ(view.canvasPosition().y, 0);
}

// Where the canvas fits inside the viewport it stays at 0; where it does not, a
// drag is clamped to its edges.
TEST_F(ViewportMathTest, DragRule) {
    struct Case {
        const char* what;
        TwipsSize base;
        TwipsPoint pointer;  // where the pointer is, in canvas coordinates; pressed at (3,000, 3,000)
        TwipsPoint expected;
    };
    const Case cases[] = {
        {"within the overhang", {13'500, 10'500}, {2'000, 2'500}, {-1'000, -500}},
        {"past the near edges", {13'500, 10'500}, {3'500, 4'000}, {0, 0}},
        {"past the far edges", {13'500, 10'500}, {-9'000, -9'000}, {9'330 - 13'500, 7'425 - 10'500}},
        {"small canvas either way", {6'000, 3'000}, {2'000, 4'000}, {0, 0}},
        {"small canvas the other way", {6'000, 3'000}, {4'000, 2'000}, {0, 0}},
        {"as wide as the viewport", {9'330, 10'500}, {1'000, 1'000}, {0, -2'000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view.setUp(c.base, kViewport);
        view.press({3'000, 3'000});
        const TwipsPoint to = view.dragTo(c.pointer);
        EXPECT_EQ(to.x, c.expected.x);
        EXPECT_EQ(to.y, c.expected.y);
    }
    EXPECT_EQ(view.grabbed().x, 3'000);
}

// A drawn size beyond 32 bits fails with the description the repaint's box shows,
// and the sizes stay as they were.
TEST_F(ViewportMathTest, DrawnSizeBeyond32BitsFailsAndChangesNothing) {
    view.setUp({2'000'000'000, 1'000}, kViewport);
    ASSERT_TRUE(view.setZoom(1.25f, {}));
    try {
        view.fitDrawSize();
        ADD_FAILURE() << "no failure";
    } catch (const shell::Failure& failure) {
        EXPECT_EQ(failure.description(), QStringLiteral("The sheet's picture is too large to show at this zoom."));
    }
    EXPECT_EQ(view.drawn().width, 2'000'000'000);
    EXPECT_EQ(view.drawn().height, 1'000);
}

TEST(ViewportMathRounding, NearestSendsHalvesToTheEvenNeighbourAndOverflowsOutsideInt32) {
    const std::pair<double, int32_t> cases[] = {{10.5, 10}, {11.5, 12}, {0.5, 0},        {-0.5, 0},   {-1.5, -2},
                                                {-2.5, -2}, {2.4999, 2}, {2.5001, 3},    {-7.6, -8}};
    for (const auto& [x, expected] : cases) EXPECT_EQ(ViewportMath::nearest(x), expected) << x;
    EXPECT_THROW(ViewportMath::nearest(std::nan("")), shell::Failure);
    EXPECT_THROW(ViewportMath::floorToInt(3e9), shell::Failure);
    EXPECT_EQ(ViewportMath::floorToInt(-0.25), -1);
}

}  // namespace
