// The viewport's arithmetic, in twips.
#include "preview/viewport_math.h"
#include "shell/error_locations.h"
#include "shell/failure.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using preview::TwipsPoint;
using preview::TwipsRect;
using preview::TwipsSize;
using preview::ViewportMath;

namespace {

// Runs the math's numbered statements through a real trap; every failure shows
// up as an error box in `dialogs`.
class ViewportMathTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    shell::Trap trap{shell::ErrorLocation::PreviewRedraw};
    ViewportMath view;

    // A reference box whose inner size is the base size plus the 2-twip margin.
    void setUpBase(int32_t width, int32_t height) { view.setUp(trap, {width + 2, height + 2}); }
    bool zoomTo(float factor) { return view.setZoom(factor) && view.fitDrawSize(trap); }
    bool step(int32_t direction) { return zoomTo(view.zoomCandidate(direction)); }
};

TEST_F(ViewportMathTest, SetUpTakesBaseSizeFromReferenceLessTwoTwips) {
    view.setUp(trap, {4500, 3000});
    EXPECT_EQ(view.zoom(), 1.0f);
    EXPECT_EQ(view.baseWidth(), 4498);
    EXPECT_EQ(view.baseHeight(), 2998);
    EXPECT_EQ(view.drawWidth(), 4498);
    EXPECT_EQ(view.drawHeight(), 2998);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ViewportMathTest, ZoomStepsWalkNineLevelsAndStopAtBothEnds) {
    setUpBase(1000, 1000);
    const float in[] = {1.25f, 1.5f, 1.75f, 2.0f, 2.25f};
    for (float expected : in) {
        EXPECT_TRUE(step(0));
        EXPECT_EQ(view.zoom(), expected);
        EXPECT_EQ(view.drawWidth(), int32_t(1000 * expected));
    }
    // At 2.25 Zoom In does nothing.
    EXPECT_FALSE(view.setZoom(view.zoomCandidate(0)));
    EXPECT_EQ(view.zoom(), 2.25f);
    EXPECT_EQ(view.drawWidth(), 2250);

    ASSERT_TRUE(zoomTo(1.0f));
    const float out[] = {0.75f, 0.5f, 0.25f};
    for (float expected : out) {
        EXPECT_TRUE(step(1));
        EXPECT_EQ(view.zoom(), expected);
    }
    // At 0.25 Zoom Out does nothing; any nonzero direction zooms out.
    EXPECT_FALSE(view.setZoom(view.zoomCandidate(1)));
    EXPECT_EQ(view.zoomCandidate(-3), 0.0f);
    EXPECT_EQ(view.zoom(), 0.25f);
    EXPECT_EQ(view.drawWidth(), 250);
}

TEST_F(ViewportMathTest, DrawnSizeIsFloorOfBaseTimesZoom) {
    setUpBase(1001, 999);
    ASSERT_TRUE(zoomTo(0.25f));
    EXPECT_EQ(view.drawWidth(), 250);  // floor(250.25)
    EXPECT_EQ(view.drawHeight(), 249);  // floor(249.75)
    ASSERT_TRUE(zoomTo(1.75f));
    EXPECT_EQ(view.drawWidth(), 1751);  // floor(1751.75)
}

TEST_F(ViewportMathTest, SizesAtTheLimitsAreRefusedJustBelowThemPainted) {
    setUpBase(10'499, 3'999);
    EXPECT_TRUE(view.fitDrawSize(trap));

    setUpBase(10'500, 100);
    EXPECT_FALSE(view.fitDrawSize(trap));

    setUpBase(100, 4'000);
    EXPECT_FALSE(view.fitDrawSize(trap));
}

TEST_F(ViewportMathTest, TallBaseRefusesFirstRepaintAndZoomInReturnsToOne) {
    setUpBase(3'000, 4'000);
    EXPECT_FALSE(view.fitDrawSize(trap));
    EXPECT_EQ(view.zoom(), 1.0f);
    EXPECT_EQ(view.drawHeight(), 4'000);

    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(step(0));  // 1.25 is accepted, its size refused, the factor reset
        EXPECT_EQ(view.zoom(), 1.0f);
        EXPECT_EQ(view.drawWidth(), 3'000);
        EXPECT_EQ(view.drawHeight(), 4'000);
    }

    EXPECT_TRUE(step(1));  // 0.75 gives 3,000: under both limits, painted
    EXPECT_EQ(view.zoom(), 0.75f);
    EXPECT_EQ(view.drawWidth(), 2'250);
    EXPECT_EQ(view.drawHeight(), 3'000);
}

TEST_F(ViewportMathTest, VeryTallBaseStaysAtOneBecauseEveryStepStartsFromThere) {
    setUpBase(3'000, 6'000);
    EXPECT_FALSE(step(1));  // 0.75 gives 4,500: refused, back to 1.0
    EXPECT_FALSE(step(1));  // so 0.5 is never reached
    EXPECT_EQ(view.zoom(), 1.0f);
}

TEST_F(ViewportMathTest, FailedStatementIsReportedWithItsNumberAndTheSequenceGoesOn) {
    // A base so large that the zoomed width does not fit 32 bits.
    view.setUp(trap, {2'000'000'002, 1'002});
    ASSERT_TRUE(view.setZoom(1.25f));
    EXPECT_FALSE(view.fitDrawSize(trap));

    const QStringList errors = dialogs.errorTexts();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], shell::errorBoxText(QStringLiteral("Overflow"), shell::errorLocationText(shell::ErrorLocation::PreviewRedraw), 100));
    // 102 still ran, 104 found the width (kept from before) over the limit and reset.
    EXPECT_EQ(view.zoom(), 1.0f);
    EXPECT_EQ(view.drawHeight(), 1'000);
}

TEST(ViewportMathRounding, NearestSendsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(ViewportMath::nearest(10.5), 10);
    EXPECT_EQ(ViewportMath::nearest(11.5), 12);
    EXPECT_EQ(ViewportMath::nearest(0.5), 0);
    EXPECT_EQ(ViewportMath::nearest(-0.5), 0);
    EXPECT_EQ(ViewportMath::nearest(-1.5), -2);
    EXPECT_EQ(ViewportMath::nearest(-2.5), -2);
    EXPECT_EQ(ViewportMath::nearest(2.4999), 2);
    EXPECT_EQ(ViewportMath::nearest(2.5001), 3);
    EXPECT_EQ(ViewportMath::nearest(-7.6), -8);
}

TEST(ViewportMathRounding, ConversionsOutsideTheirRangeOverflow) {
    EXPECT_EQ(ViewportMath::toInt16(32'767.4), 32'767);
    EXPECT_EQ(ViewportMath::toInt16(-32'768), -32'768);
    EXPECT_THROW(ViewportMath::toInt16(32'767.5), shell::Failure);
    EXPECT_THROW(ViewportMath::toInt16(-32'769), shell::Failure);
    EXPECT_THROW(ViewportMath::nearest(std::nan("")), shell::Failure);
    EXPECT_THROW(ViewportMath::floorToInt(3e9), shell::Failure);
    EXPECT_EQ(ViewportMath::floorToInt(-0.25), -1);
}

TEST(ViewportMathScroll, MaximumAndStepAroundOneHundredTwips) {
    struct Case {
        int32_t overhang;
        int16_t maximum;
        int16_t step;
    };
    const Case cases[] = {{1, 1, 1},     {15, 15, 1},  {100, 100, 1}, {101, 10, 10},
                          {105, 10, 10}, {115, 12, 10}, {4'170, 417, 10}, {3'075, 308, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.overhang);
        EXPECT_EQ(ViewportMath::scrollMaximum(c.overhang), c.maximum);
        EXPECT_EQ(ViewportMath::scrollStep(c.overhang), c.step);
    }
}

TEST(ViewportMathScroll, MaximumOverflowsFrom327675Twips) {
    EXPECT_EQ(ViewportMath::scrollMaximum(327'674), 32'767);
    try {
        ViewportMath::scrollMaximum(327'675);
        FAIL() << "no overflow";
    } catch (const shell::Failure& failure) {
        EXPECT_EQ(failure.description(), QStringLiteral("Overflow"));
    }
}

TEST(ViewportMathScroll, OffsetIsMinusStepTimesValue) {
    EXPECT_EQ(ViewportMath::scrollOffset(10, 12), -120);
    EXPECT_EQ(ViewportMath::scrollOffset(1, 100), -100);
    EXPECT_EQ(ViewportMath::scrollOffset(0, 40), 0);
    EXPECT_EQ(ViewportMath::scrollOffset(10, 32'767), -327'670);
}

TEST(ViewportMathScroll, PercentageSetterIgnoresNegativeAndBeyondMaximum) {
    EXPECT_EQ(ViewportMath::valueForPercent(-1, 10), std::nullopt);
    EXPECT_EQ(ViewportMath::valueForPercent(101, 10), std::nullopt);
    EXPECT_EQ(ViewportMath::valueForPercent(100, 10), 10);
    EXPECT_EQ(ViewportMath::valueForPercent(0, 10), 0);
    EXPECT_EQ(ViewportMath::valueForPercent(50, 13), 6);  // 6.5 to the even neighbour
    EXPECT_EQ(ViewportMath::valueForPercent(50, 15), 8);  // 7.5
    EXPECT_EQ(ViewportMath::valueForPercent(36, 417), 150);
    // A bar without range takes any percentage as 0.
    EXPECT_EQ(ViewportMath::valueForPercent(500, 0), 0);
}

TEST(ViewportMathDrag, PercentOfOverhang) {
    EXPECT_EQ(ViewportMath::dragPercent(-100, 9'430, 9'330), 100);
    EXPECT_EQ(ViewportMath::dragPercent(-1'500, 13'500, 9'330), 36);  // 35.97
    EXPECT_EQ(ViewportMath::dragPercent(0, 13'500, 9'330), 0);
    // A canvas smaller than the viewport, pushed to the far side, gives a negative percentage.
    EXPECT_EQ(ViewportMath::dragPercent(3'330, 6'000, 9'330), -100);
    // Beyond the overhang (a coarse bar's last unit), more than 100: the setter then ignores it.
    EXPECT_EQ(ViewportMath::dragPercent(-120, 9'445, 9'330), 104);
}

TEST(ViewportMathDrag, EqualSidesGiveNoPercentage) {
    EXPECT_EQ(ViewportMath::dragPercent(0, 9'330, 9'330), std::nullopt);
    EXPECT_EQ(ViewportMath::dragPercent(-15, 9'330, 9'330), std::nullopt);
}

TEST_F(ViewportMathTest, PressRemembersTheGrabbedPoint) {
    view.press(trap, {1'234.5f, 678.25f});
    EXPECT_EQ(view.dragX(), 1'234.5f);
    EXPECT_EQ(view.dragY(), 678.25f);
}

TEST_F(ViewportMathTest, DragFollowsThePointerWithinTheOverhang) {
    const TwipsSize inner{9'330, 7'425};
    view.press(trap, {3'000, 3'000});
    const TwipsPoint to = view.dragTo(trap, {-600, -300, 13'500, 10'500}, inner, {2'000, 2'500});
    EXPECT_EQ(to.x, -1'600.0f);
    EXPECT_EQ(to.y, -800.0f);
}

TEST_F(ViewportMathTest, DragAboveZeroStopsAtZeroAndBeyondTheFarEdgeAtInnerLessCanvas) {
    const TwipsSize inner{9'330, 7'425};
    const TwipsRect canvas{0, 0, 13'500, 10'500};
    view.press(trap, {1'000, 1'000});

    const TwipsPoint right = view.dragTo(trap, canvas, inner, {1'500, 1'200});
    EXPECT_EQ(right.x, 0.0f);
    EXPECT_EQ(right.y, 0.0f);

    const TwipsPoint far = view.dragTo(trap, canvas, inner, {-9'000, -9'000});
    EXPECT_EQ(far.x, float(9'330 - 13'500));
    EXPECT_EQ(far.y, float(7'425 - 10'500));

    // Exactly at zero is not above it: the far-edge test applies and leaves it.
    const TwipsPoint zero = view.dragTo(trap, canvas, inner, {1'000, 1'000});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ViewportMathTest, SmallCanvasDraggedGoesToTheFarSide) {
    // Narrower and lower than the viewport: any position not above 0 becomes
    // (inner − canvas), which is positive.
    view.press(trap, {500, 500});
    const TwipsPoint to = view.dragTo(trap, {0, 0, 6'000, 3'000}, {9'330, 7'425}, {400, 450});
    EXPECT_EQ(to.x, 3'330.0f);
    EXPECT_EQ(to.y, 4'425.0f);
}

TEST_F(ViewportMathTest, DragArithmeticIsSinglePrecision) {
    // 16,777,217 is not a float: the raw position rounds to 16,777,216 before the clamp.
    view.press(trap, {0.5f, 0});
    const TwipsPoint to =
        view.dragTo(trap, {-16'777'217, 0, 40'000'000, 100}, {9'330, 7'425}, {0.5f, 0});
    EXPECT_EQ(to.x, -16'777'216.0f);
}

}  // namespace
