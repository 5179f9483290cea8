#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace engine::render {

// True when the painter puts the picture's pixels one to one on whole device pixels
// of a raster image (no scale, a whole-pixel shift at most): then what is drawn is
// exactly the picture at 96 dpi.
bool drawsPixelForPixel(const QPainter& painter);

// Fills a rectangle of the picture (in its pixels). Under a scale its edges are put
// on whole device pixels, so that neighbouring cells meet without seams; a line
// (keepVisible) keeps at least one device pixel however small the scale.
void fillOnDevicePixels(QPainter& painter, const QRect& rect, const QColor& color, bool keepVisible = false);

}  // namespace engine::render
