#include "generator/snapshot_bitmap.h"

#include "engine/render/picture_memory.h"
#include "shell/failure.h"

#include <QIODevice>
#include <QSysInfo>
#include <QtEndian>
#include <limits>

namespace generator {
namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
constexpr quint16 kBitsPerPixel = 32;
constexpr quint32 kUncompressed = 0;  // BI_RGB
constexpr bool kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

struct Header {
    quint32 pixelOffset, infoBytes, compression;
    qint32 width, height, dotsPerMeterX, dotsPerMeterY;
    quint16 planes, bitsPerPixel;
};

Header parse(const uchar* h) {
    return {qFromLittleEndian<quint32>(h + 10), qFromLittleEndian<quint32>(h + 14), qFromLittleEndian<quint32>(h + 30),
            qFromLittleEndian<qint32>(h + 18),  qFromLittleEndian<qint32>(h + 22),  qFromLittleEndian<qint32>(h + 38),
            qFromLittleEndian<qint32>(h + 42),  qFromLittleEndian<quint16>(h + 26), qFromLittleEndian<quint16>(h + 28)};
}

}  // namespace

bool WriteSnapshotBitmap(const QImage& picture, QIODevice& out) {
    if (picture.isNull()) return false;
    const QImage rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const qint64 rowBytes = qint64(rgb.width()) * 4;
    const qint64 pixelBytes = rowBytes * rgb.height();
    if (pixelBytes > std::numeric_limits<quint32>::max() - kPixelOffset) return false;

    uchar h[kPixelOffset] = {'B', 'M'};
    qToLittleEndian<quint32>(quint32(kPixelOffset + pixelBytes), h + 2);
    qToLittleEndian<quint32>(kPixelOffset, h + 10);
    qToLittleEndian<quint32>(kInfoHeaderBytes, h + 14);
    qToLittleEndian<qint32>(rgb.width(), h + 18);
    qToLittleEndian<qint32>(-rgb.height(), h + 22);  // negative: rows top-down
    qToLittleEndian<quint16>(1, h + 26);            // planes
    qToLittleEndian<quint16>(kBitsPerPixel, h + 28);
    qToLittleEndian<quint32>(kUncompressed, h + 30);
    qToLittleEndian<quint32>(quint32(pixelBytes), h + 34);
    qToLittleEndian<qint32>(rgb.dotsPerMeterX(), h + 38);
    qToLittleEndian<qint32>(rgb.dotsPerMeterY(), h + 42);
    if (out.write(reinterpret_cast<const char*>(h), kPixelOffset) != kPixelOffset) return false;
    // Rows top-down, so that a picture laid out as the file is goes out in one write.
    if (kLittleEndian && rgb.bytesPerLine() == rowBytes)
        return out.write(reinterpret_cast<const char*>(rgb.constBits()), pixelBytes) == pixelBytes;
    QByteArray swapped(kLittleEndian ? 0 : rowBytes, Qt::Uninitialized);
    for (int y = 0; y < rgb.height(); ++y) {
        const char* row = reinterpret_cast<const char*>(rgb.constScanLine(y));
        if (!kLittleEndian) {
            qToLittleEndian<quint32>(row, rgb.width(), swapped.data());
            row = swapped.constData();
        }
        if (out.write(row, rowBytes) != rowBytes) return false;
    }
    return true;
}

std::optional<QImage> ReadSnapshotBitmap(QIODevice& in, qint64 maxBytes) {
    uchar h[kPixelOffset];
    if (in.peek(reinterpret_cast<char*>(h), kPixelOffset) != kPixelOffset || h[0] != 'B' || h[1] != 'M')
        return std::nullopt;
    const Header header = parse(h);
    // Rows top-down (a negative height, as written here) or bottom-up.
    const bool topDown = header.height < 0;
    const qint64 height = topDown ? -qint64(header.height) : qint64(header.height);
    if (header.pixelOffset != kPixelOffset || header.infoBytes != kInfoHeaderBytes || header.planes != 1 ||
        header.bitsPerPixel != kBitsPerPixel || header.compression != kUncompressed || header.width <= 0 ||
        height <= 0)
        return std::nullopt;
    const qint64 rowBytes = qint64(header.width) * 4;
    if (rowBytes > maxBytes || height > maxBytes / rowBytes)
        throw shell::Failure(QStringLiteral("The picture of %1 by %2 pixels is too large.").arg(header.width).arg(height));
    in.skip(kPixelOffset);

    // Memory as the renderer takes it for a picture: a large one in huge pages.
    QImage image = engine::render::newPictureImage(QSize(header.width, int(height)));
    if (image.isNull()) throw shell::Failure(QStringLiteral("Out of memory"));
    const auto readInto = [&](uchar* at, qint64 bytes) {
        if (in.read(reinterpret_cast<char*>(at), bytes) != bytes)
            throw shell::Failure(QStringLiteral("The picture ends early."));
    };
    if (topDown && image.bytesPerLine() == rowBytes) {
        readInto(image.bits(), rowBytes * height);
    } else {
        for (qint64 i = 0; i < height; ++i) readInto(image.scanLine(int(topDown ? i : height - 1 - i)), rowBytes);
    }
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        if (!kLittleEndian) qFromLittleEndian<quint32>(line, header.width, line);
        // The file's fourth byte is unused; the picture's format needs it opaque.
        quint32* pixel = reinterpret_cast<quint32*>(line);
        for (int x = 0; x < header.width; ++x) pixel[x] |= 0xff000000u;
    }
    if (header.dotsPerMeterX > 0) image.setDotsPerMeterX(header.dotsPerMeterX);
    if (header.dotsPerMeterY > 0) image.setDotsPerMeterY(header.dotsPerMeterY);
    return image;
}

}  // namespace generator
