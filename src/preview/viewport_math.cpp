#include "preview/viewport_math.h"

#include "shell/failure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace preview {
namespace {

// x as a whole number of the int32 range; a failure outside it (NaN included).
int32_t checkedWhole(double x) {
    if (!(x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max()))
        throw shell::Failure(QStringLiteral("The sheet's picture is too large to show at this zoom."));
    return static_cast<int32_t>(x);
}

}  // namespace

// The default rounding mode rounds halves to the even neighbour.
int32_t ViewportMath::nearest(double x) { return checkedWhole(std::nearbyint(x)); }

int32_t ViewportMath::floorToInt(double x) { return checkedWhole(std::floor(x)); }

// --- Zoom -----------------------------------------------------------------------

void ViewportMath::setUp(TwipsSize base, TwipsSize viewport) {
    m_viewport = viewport;
    m_position = {};
    m_zoom = 1.0f;
    m_base = base;
    m_drawn = base;
}

void ViewportMath::fitDrawSize() {
    m_drawn = {floorToInt(double(m_base.width) * double(m_zoom)), floorToInt(double(m_base.height) * double(m_zoom))};
    m_position = {clamped(Axis::Horizontal, m_position.x), clamped(Axis::Vertical, m_position.y)};
}

float ViewportMath::zoomCandidate(int32_t direction) const {
    return direction != 0 ? m_zoom - kZoomStep : m_zoom + kZoomStep;
}

bool ViewportMath::setZoom(float factor, TwipsPoint anchor) {
    if (factor < kMinZoom || factor > kMaxZoom) return false;
    // The sheet's point under the anchor, at zoom 1, goes under the anchor again.
    const double scale = m_zoom > 0 ? double(factor) / double(m_zoom) : 1.0;
    const TwipsPoint wanted{anchor.x - (anchor.x - m_position.x) * scale,
                            anchor.y - (anchor.y - m_position.y) * scale};
    m_zoom = factor;
    m_position = wanted;  // kept within its range once the drawn size is known
    return true;
}

// --- Where the canvas lies --------------------------------------------------------

double ViewportMath::farthest(Axis axis) const { return std::min(0.0, viewportSide(axis) - canvasSide(axis)); }

double ViewportMath::clamped(Axis axis, double at) const { return std::clamp(at, farthest(axis), 0.0); }

double ViewportMath::positionShowing(Axis axis, double from, double to) const {
    const double at = position(axis);
    const double side = viewportSide(axis);
    if (from + at < 0 || to - from > side) return clamped(axis, -from);
    if (to + at > side) return clamped(axis, side - to);
    return at;
}

void ViewportMath::moveCanvasTo(TwipsPoint at) {
    m_position = {clamped(Axis::Horizontal, at.x), clamped(Axis::Vertical, at.y)};
}

// --- Scroll bars ----------------------------------------------------------------

int32_t ViewportMath::scrollMaximum(Axis axis) const {
    return checkedWhole(std::ceil(-farthest(axis) / kTwipsPerScrollUnit));
}

int32_t ViewportMath::scrollValue(Axis axis) const {
    // At the far edge the last unit, which may be a part of one.
    const int32_t maximum = scrollMaximum(axis);
    if (position(axis) <= farthest(axis)) return maximum;
    return std::clamp(nearest(-position(axis) / kTwipsPerScrollUnit), 0, maximum);
}

void ViewportMath::scrollTo(Axis axis, int32_t value) {
    position(axis) = clamped(axis, -double(value) * kTwipsPerScrollUnit);
}

// --- Dragging -------------------------------------------------------------------

TwipsPoint ViewportMath::dragTo(TwipsPoint at) const {
    return {clamped(Axis::Horizontal, m_position.x - m_grabbed.x + at.x),
            clamped(Axis::Vertical, m_position.y - m_grabbed.y + at.y)};
}

}  // namespace preview
