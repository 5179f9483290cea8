#include "preview/viewport_math.h"

#include "shell/failure.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace preview {
namespace {

[[noreturn]] void overflow() { throw shell::Failure(QStringLiteral("Overflow")); }

// x as a whole number of the range [low, high], or "Overflow" (NaN included).
int32_t checkedWhole(double x, double low, double high) {
    if (!(x >= low && x <= high)) overflow();
    return static_cast<int32_t>(x);
}

constexpr double kInt32Low = std::numeric_limits<int32_t>::min();
constexpr double kInt32High = std::numeric_limits<int32_t>::max();

}  // namespace

// The default rounding mode rounds halves to the even neighbour.
int32_t ViewportMath::nearest(double x) { return checkedWhole(std::nearbyint(x), kInt32Low, kInt32High); }

int16_t ViewportMath::toInt16(double x) {
    const int32_t whole = nearest(x);
    return static_cast<int16_t>(checkedWhole(whole, std::numeric_limits<int16_t>::min(),
                                             std::numeric_limits<int16_t>::max()));
}

int32_t ViewportMath::floorToInt(double x) { return checkedWhole(std::floor(x), kInt32Low, kInt32High); }

// --- Zoom -----------------------------------------------------------------------

void ViewportMath::setUp(shell::Trap& trap, TwipsSize referenceInner) {
    m_reference = referenceInner;
    resetToBase(trap);
}

void ViewportMath::resetToBase(shell::Trap& trap) {
    trap(124, [&] { m_zoom = 1.0f; });
    trap(126, [&] { m_baseWidth = nearest(double(m_reference.width) - kReferenceMargin); });
    trap(128, [&] { m_baseHeight = nearest(double(m_reference.height) - kReferenceMargin); });
    trap(130, [&] { m_drawWidth = floorToInt(double(m_baseWidth) * 1); });
    trap(132, [&] { m_drawHeight = floorToInt(double(m_baseHeight) * 1); });
}

bool ViewportMath::fitDrawSize(shell::Trap& trap) {
    trap(100, [&] { m_drawWidth = floorToInt(double(m_baseWidth) * double(m_zoom)); });
    trap(102, [&] { m_drawHeight = floorToInt(double(m_baseHeight) * double(m_zoom)); });
    const bool refused = trap.condition(104, [&] {
        return m_drawWidth >= kDrawWidthLimit || m_drawHeight >= kDrawHeightLimit;
    });
    if (!refused) return true;
    resetToBase(trap);
    return false;
}

float ViewportMath::zoomCandidate(int32_t direction) const {
    return direction != 0 ? m_zoom - kZoomStep : m_zoom + kZoomStep;
}

bool ViewportMath::setZoom(float factor) {
    if (factor < kMinZoom || factor > kMaxZoom) return false;
    m_zoom = factor;
    return true;
}

// --- Scroll bars ----------------------------------------------------------------

int16_t ViewportMath::scrollMaximum(int32_t overhang) {
    if (overhang <= kFineScrollLimit) return toInt16(overhang);
    return toInt16(double(overhang) / kCoarseScrollStep);
}

int16_t ViewportMath::scrollStep(int32_t overhang) {
    return overhang <= kFineScrollLimit ? kFineScrollStep : kCoarseScrollStep;
}

int32_t ViewportMath::scrollOffset(int16_t step, int32_t value) {
    return static_cast<int32_t>(-(int64_t(step) * value));
}

std::optional<int32_t> ViewportMath::valueForPercent(int16_t percent, int32_t maximum) {
    if (percent < 0) return std::nullopt;
    const double value = double(percent) / 100 * maximum;
    if (value > maximum) return std::nullopt;
    return nearest(value);
}

// --- Dragging -------------------------------------------------------------------

void ViewportMath::press(shell::Trap& trap, TwipsPoint at) {
    trap(100, [&] { m_dragX = at.x; });
    trap(102, [&] { m_dragY = at.y; });
}

TwipsPoint ViewportMath::dragTo(shell::Trap& trap, const TwipsRect& canvas, TwipsSize viewportInner,
                                TwipsPoint at) const {
    float left = 0;
    float top = 0;
    trap(104, [&] { left = float(canvas.left) - m_dragX + at.x; });
    left = clampDrag(trap, 106, left, viewportInner.width, canvas.width);
    trap(114, [&] { top = float(canvas.top) - m_dragY + at.y; });
    top = clampDrag(trap, 116, top, viewportInner.height, canvas.height);
    return {left, top};
}

float ViewportMath::clampDrag(shell::Trap& trap, int first, float raw, int32_t viewportInner,
                              int32_t canvasSide) {
    float position = raw;
    if (trap.condition(first, [&] { return position > 0; })) {
        trap(first + 2, [&] { position = 0; });
    } else if (trap.condition(first + 4, [&] { return float(viewportInner - canvasSide) > position; })) {
        trap(first + 6, [&] { position = float(viewportInner - canvasSide); });
    }
    return position;
}

std::optional<int32_t> ViewportMath::dragPercent(int32_t canvasPosition, int32_t canvasSide,
                                                 int32_t viewportOuterSide) {
    if (canvasSide == viewportOuterSide) return std::nullopt;
    const float overhang = float(canvasSide - viewportOuterSide);
    return nearest(float(std::abs(canvasPosition)) / overhang * 100.0f);
}

}  // namespace preview
