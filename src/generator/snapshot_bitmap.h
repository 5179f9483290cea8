#pragma once

#include <QImage>
#include <optional>

class QIODevice;

namespace generator {

// The snapshot's own bitmap layout: an uncompressed 32-bit BMP, rows bottom-up,
// each pixel blue, green, red and an unused byte. That is the picture's memory
// layout in QImage::Format_RGB32 on a little-endian machine, so rows are copied
// whole both ways instead of being converted pixel by pixel (Qt's BMP codec
// spends dozens of instructions on every pixel of a picture that may hold
// fifteen million).

// Writes picture in that layout; false when the device fails or the picture is
// null or too large for a BMP.
bool WriteSnapshotBitmap(const QImage& picture, QIODevice& out);

// Reads a bitmap in exactly that layout; empty, with nothing consumed, when the
// device holds anything else (any other BMP is left to Qt's reader). Throws
// shell::Failure when the bitmap is in that layout but ends early or holds more
// than maxBytes of pixels.
std::optional<QImage> ReadSnapshotBitmap(QIODevice& in, qint64 maxBytes);

}  // namespace generator
