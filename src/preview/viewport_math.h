#pragma once

#include "shell/error_trap.h"

#include <cstdint>
#include <optional>

namespace preview {

// A width and height in twips.
struct TwipsSize {
    int32_t width = 0;
    int32_t height = 0;
};

// A box's position and size in twips.
struct TwipsRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// A position in twips, as the mouse gives it.
struct TwipsPoint {
    float x = 0;
    float y = 0;
};

// The preview's viewport arithmetic, all in twips and free of widgets: the zoom
// factor with the base and drawn sizes of the picture, the scroll bars' ranges and
// offsets, dragging, and the percentages that bring the bars to a dragged position.
// It holds the window's zoom, size, scroll-step and drag members with their types.
// Sequences of numbered statements run through the caller's trap, so a failure is
// reported with the caller's location and statement number.
class ViewportMath {
public:
    static constexpr float kZoomStep = 0.25f;
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 2.25f;
    // A drawn size at or above either limit is refused rather than painted.
    static constexpr int32_t kDrawWidthLimit = 10'500;
    static constexpr int32_t kDrawHeightLimit = 4'000;
    // Up to this overhang a scroll unit is one twip; beyond it, ten.
    static constexpr int32_t kFineScrollLimit = 100;
    static constexpr int16_t kFineScrollStep = 1;
    static constexpr int16_t kCoarseScrollStep = 10;
    // The reference box's inner size less this is the base size.
    static constexpr int32_t kReferenceMargin = 2;

    // Nearest integer, halves going to the even neighbour (10.5 → 10, 11.5 → 12).
    static int32_t nearest(double x);
    // nearest(x) as a 16-bit value; shell::Failure "Overflow" when it does not fit.
    static int16_t toInt16(double x);
    // The largest integer not above x.
    static int32_t floorToInt(double x);

    // --- Zoom -------------------------------------------------------------------

    // First activation [124]–[132]: zoom 1.0; base and drawn size from the
    // reference box's inner size, which is kept for later resets.
    void setUp(shell::Trap& trap, TwipsSize referenceInner);
    // The size part of a repaint [100]–[104]: the drawn size at the current zoom.
    // True when it may be painted; a size at or over the limits is refused, and
    // then [124]–[132] reset the zoom to 1.0 and the sizes to the base.
    bool fitDrawSize(shell::Trap& trap);
    // The factor one zoom step away: out for any nonzero direction, else in.
    float zoomCandidate(int32_t direction) const;
    // Takes a factor from 0.25 to 2.25 (both included); true when taken, and the
    // caller then repaints.
    bool setZoom(float factor);

    float zoom() const { return m_zoom; }
    int32_t baseWidth() const { return m_baseWidth; }
    int32_t baseHeight() const { return m_baseHeight; }
    int32_t drawWidth() const { return m_drawWidth; }
    int32_t drawHeight() const { return m_drawHeight; }

    // --- Scroll bars ------------------------------------------------------------

    // The maximum of a bar for a canvas that overhangs the viewport by `overhang`
    // twips (> 0): the overhang itself up to 100, else a tenth of it. Throws
    // shell::Failure "Overflow" when that does not fit 16 bits.
    static int16_t scrollMaximum(int32_t overhang);
    // Twips per scroll unit for that overhang: 1 up to 100, else 10.
    static int16_t scrollStep(int32_t overhang);
    // The canvas side's position for a bar value: −(step × value).
    static int32_t scrollOffset(int16_t step, int32_t value);
    // The bar value for a percentage of its maximum; none (the bar stays) when the
    // percentage is negative or gives more than the maximum.
    static std::optional<int32_t> valueForPercent(int16_t percent, int32_t maximum);

    void setHorizontalScrollStep(int16_t step) { m_horizontalScrollStep = step; }
    void setVerticalScrollStep(int16_t step) { m_verticalScrollStep = step; }
    int16_t horizontalScrollStep() const { return m_horizontalScrollStep; }
    int16_t verticalScrollStep() const { return m_verticalScrollStep; }

    // --- Dragging ---------------------------------------------------------------

    // Mouse down [100]–[102]: remembers the grabbed point, in canvas coordinates.
    void press(shell::Trap& trap, TwipsPoint at);
    // Mouse move with a button held [104]–[122]: where the canvas goes so that the
    // grabbed point follows the pointer (`at`, in canvas coordinates), kept from
    // leaving a gap at the viewport's top or left and clamped to (inner − canvas).
    TwipsPoint dragTo(shell::Trap& trap, const TwipsRect& canvas, TwipsSize viewportInner,
                      TwipsPoint at) const;
    // Mouse up: how far along its overhang a canvas side stands, in percent
    // (nearest of |position| ÷ (canvas − viewport outer) × 100). None when the
    // sides are equal: there is no overhang and the bar stays as it is.
    static std::optional<int32_t> dragPercent(int32_t canvasPosition, int32_t canvasSide,
                                              int32_t viewportOuterSide);

    float dragX() const { return m_dragX; }
    float dragY() const { return m_dragY; }

private:
    // Clamps one drag axis, statements first … first + 6.
    static float clampDrag(shell::Trap& trap, int first, float raw, int32_t viewportInner,
                           int32_t canvasSide);
    // [124]–[132]: zoom 1.0, sizes from the kept reference size.
    void resetToBase(shell::Trap& trap);

    TwipsSize m_reference;
    float m_dragX = 0;
    float m_dragY = 0;
    int16_t m_horizontalScrollStep = 0;
    int16_t m_verticalScrollStep = 0;
    int32_t m_baseWidth = 0;
    int32_t m_baseHeight = 0;
    int32_t m_drawWidth = 0;
    int32_t m_drawHeight = 0;
    float m_zoom = 0;
};

}  // namespace preview
