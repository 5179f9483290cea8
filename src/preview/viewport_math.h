#pragma once

#include <algorithm>
#include <cstdint>

namespace preview {

// A width and height in twips.
struct TwipsSize {
    int32_t width = 0;
    int32_t height = 0;
};

// A position in twips: a point under the mouse, or where the canvas's top-left
// corner lies in the viewport (never right of or below the viewport's own).
struct TwipsPoint {
    double x = 0;
    double y = 0;
};

// One of the canvas's two directions.
enum class Axis { Horizontal, Vertical };

// The preview's viewport arithmetic, all in twips and free of widgets. The canvas is
// the sheet's picture at the current zoom; it is virtual (only what the viewport
// shows of it is ever painted), so it may be as large as the sheet: there is no size
// limit, every zoom factor from 0.25 to 2.25 is taken on every sheet.
//
// It holds the zoom factor, the picture's size at zoom 1 (the base size) and at the
// zoom (the drawn size), the viewport's size, where the canvas lies in the viewport,
// and the point grabbed for a drag. Where the canvas fits inside the viewport along
// an axis it lies at 0 there; where it does not, it stays between 0 and (viewport −
// canvas), so no gap ever shows at its near or far edge. Scroll bars count in
// pixels (15 twips), so the largest sheet's range fits them at every zoom.
// A size that does not fit throws shell::Failure; the window reports it.
class ViewportMath {
public:
    static constexpr float kZoomStep = 0.25f;
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 2.25f;
    // Twips per scroll bar unit: one pixel at 96 dots per inch.
    static constexpr int32_t kTwipsPerScrollUnit = 15;
    // A line of scrolling (an arrow key, a bar's arrow; a wheel notch is a few):
    // about a row of the sheet.
    static constexpr int32_t kLineUnits = 20;
    static constexpr double kLineTwips = kLineUnits * kTwipsPerScrollUnit;

    // Nearest integer, halves going to the even neighbour (10.5 → 10, 11.5 → 12).
    static int32_t nearest(double x);
    // The largest integer not above x.
    static int32_t floorToInt(double x);

    // --- Zoom -------------------------------------------------------------------

    // First activation: zoom 1.0, the base size and the viewport's, the drawn size
    // the base size, the canvas at the viewport's top-left corner.
    void setUp(TwipsSize base, TwipsSize viewport);
    // The drawn size at the current zoom, and the canvas kept within its range at
    // that size. Throws shell::Failure, and changes nothing, when the drawn size
    // does not fit 32 bits.
    void fitDrawSize();
    // The factor one zoom step away: out for any nonzero direction, else in.
    float zoomCandidate(int32_t direction) const;
    // Takes a factor from 0.25 to 2.25 (both included), with the canvas put so that
    // the point of the sheet under `anchor` (viewport coordinates) stays there, as
    // far as the canvas's edges allow once fitDrawSize has run; the caller then
    // repaints. False, and nothing changes, for any other factor: a step past either
    // end does nothing.
    bool setZoom(float factor, TwipsPoint anchor);

    float zoom() const { return m_zoom; }
    // The zoom as the zoom frame's caption shows it: 25 to 225 (percent).
    int zoomPercent() const { return nearest(double(m_zoom) * 100); }
    const TwipsSize& base() const { return m_base; }
    const TwipsSize& drawn() const { return m_drawn; }
    const TwipsSize& viewport() const { return m_viewport; }
    // The viewport's centre, where the zoom buttons and keys anchor.
    TwipsPoint viewportCentre() const { return {m_viewport.width / 2.0, m_viewport.height / 2.0}; }

    // --- Where the canvas lies --------------------------------------------------

    const TwipsPoint& canvasPosition() const { return m_position; }
    // Puts the canvas at a position, kept within its range.
    void moveCanvasTo(TwipsPoint position);
    // The canvas's range along an axis: from this (≤ 0) to 0.
    double farthest(Axis axis) const;
    // Where the canvas lies along an axis once the part [from, to) of it (twips of the
    // drawn canvas) is in view: where it lies now if it is, else moved as little as
    // will show it, a part longer than the viewport from its start; within its range.
    double positionShowing(Axis axis, double from, double to) const;

    // --- Scroll bars ------------------------------------------------------------

    // A bar's maximum: the canvas's overhang beyond the viewport in whole units,
    // rounded up so the last one shows the canvas's far edge; 0 when it fits.
    int32_t scrollMaximum(Axis axis) const;
    // The bar's value for where the canvas lies now.
    int32_t scrollValue(Axis axis) const;
    // Puts the canvas where a bar at `value` shows it.
    void scrollTo(Axis axis, int32_t value);
    // A page along an axis: what the viewport shows, less a line kept in view.
    double page(Axis axis) const { return std::max(kLineTwips, viewportSide(axis) - kLineTwips); }

    // --- Dragging ---------------------------------------------------------------

    // Mouse down: remembers the grabbed point, in canvas coordinates.
    void press(TwipsPoint at) { m_grabbed = at; }
    // Mouse move with a button held: where the canvas goes so that the grabbed
    // point follows the pointer (`at`, in canvas coordinates), kept within its
    // range along each axis. The caller then moves it there.
    TwipsPoint dragTo(TwipsPoint at) const;

    const TwipsPoint& grabbed() const { return m_grabbed; }

private:
    double canvasSide(Axis axis) const { return axis == Axis::Horizontal ? m_drawn.width : m_drawn.height; }
    double viewportSide(Axis axis) const { return axis == Axis::Horizontal ? m_viewport.width : m_viewport.height; }
    double& position(Axis axis) { return axis == Axis::Horizontal ? m_position.x : m_position.y; }
    double position(Axis axis) const { return axis == Axis::Horizontal ? m_position.x : m_position.y; }
    double clamped(Axis axis, double position) const;

    TwipsPoint m_grabbed;
    TwipsSize m_base;
    TwipsSize m_drawn;
    TwipsSize m_viewport;
    TwipsPoint m_position;
    float m_zoom = 1.0f;
};

}  // namespace preview
