#include "engine/render/device_pixels.h"

#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace engine::render {

namespace {

bool whole(qreal value) { return value == std::round(value); }

// [begin, end) on the device's pixels, at least one long when asked.
std::pair<qreal, qreal> snapped(qreal begin, qreal end, bool keepVisible) {
    qreal first = std::round(begin);
    qreal last = std::round(end);
    if (keepVisible && last <= first) last = first + 1;
    return {first, last};
}

}  // namespace

bool drawsPixelForPixel(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) return false;
    const QTransform device = painter.deviceTransform();
    return device.type() <= QTransform::TxTranslate && whole(device.dx()) && whole(device.dy());
}

void fillOnDevicePixels(QPainter& painter, const QRect& rect, const QColor& color, bool keepVisible) {
    const QTransform device = painter.deviceTransform();
    if (device.type() <= QTransform::TxTranslate || device.type() > QTransform::TxScale) {
        painter.fillRect(rect, color);
        return;
    }
    const QRectF onDevice = device.mapRect(QRectF(rect));
    const auto [left, right] = snapped(onDevice.left(), onDevice.right(), keepVisible);
    const auto [top, bottom] = snapped(onDevice.top(), onDevice.bottom(), keepVisible);
    if (right <= left || bottom <= top) return;
    painter.fillRect(device.inverted().mapRect(QRectF(QPointF(left, top), QPointF(right, bottom))), color);
}

}  // namespace engine::render
