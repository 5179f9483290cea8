#include "generator/snapshot_bitmap.h"
#include "generator/snapshot_file.h"
#include "shell/failure.h"
#include "support/isolated_environment.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A picture in which every pixel differs from its neighbours in all three channels.
QImage gradient(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) * 13 % 256));
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    return picture;
}

QByteArray bitmapOf(const QImage& picture) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(generator::WriteSnapshotBitmap(picture, buffer));
    return buffer.data();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(SnapshotBitmap, RoundTripsEveryPixelAndTheResolution) {
    IsolatedEnvironment env;
    const QImage picture = gradient(37, 23);  // rows of an odd width need no padding at 32 bits
    const QString path = env.tempFolder() + "/temp.bmp";
    generator::SavePicture(picture, path);
    EXPECT_EQ(QFile(path).size(), 54 + 37 * 23 * 4);

    const QImage back = generator::LoadPicture(path);
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(back, picture);
    EXPECT_EQ(back.dotsPerMeterX(), 3780);
}

TEST(SnapshotBitmap, IsABitmapThatQtsOwnReaderReadsAlike) {
    const QImage picture = gradient(19, 8);
    QByteArray bytes = bitmapOf(picture);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "BMP");
    const QImage read = reader.read();
    ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture);
}

// The rows go out top-down; a 32-bit bitmap stored bottom-up reads back alike.
TEST(SnapshotBitmap, RowsEitherWayUpReadBackAlike) {
    const QImage picture = gradient(13, 6);
    const QByteArray topDown = bitmapOf(picture);
    ASSERT_EQ(qFromLittleEndian<qint32>(topDown.constData() + 22), -6);
    QByteArray bottomUp = topDown.left(54);
    qToLittleEndian<qint32>(6, bottomUp.data() + 22);
    for (int y = 5; y >= 0; --y) bottomUp += topDown.mid(54 + y * 13 * 4, 13 * 4);
    for (QByteArray bytes : {topDown, bottomUp}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const std::optional<QImage> back = generator::ReadSnapshotBitmap(buffer, 1 << 20);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, picture);
    }
}

TEST(SnapshotBitmap, TransparentPicturesAreWrittenOpaque) {
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 0));
    QByteArray bytes = bitmapOf(picture);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<QImage> back = generator::ReadSnapshotBitmap(buffer, 1 << 20);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixel(3, 1), qRgb(10, 20, 30));
}

TEST(SnapshotBitmap, OtherBitmapsAreLeftUntouchedForQtsReader) {
    IsolatedEnvironment env;
    const QImage picture = gradient(9, 5);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));  // Qt writes 24 bits a pixel
    buffer.seek(0);
    EXPECT_FALSE(generator::ReadSnapshotBitmap(buffer, 1 << 20));
    EXPECT_EQ(buffer.pos(), 0);

    const QString path = env.tempFolder() + "/temp.bmp";
    writeFile(path, buffer.data());
    EXPECT_EQ(generator::LoadPicture(path).convertToFormat(QImage::Format_RGB32), picture);
}

TEST(SnapshotBitmap, DamagedOrOversizedBitmapsFailWithoutAPicture) {
    IsolatedEnvironment env;
    const QString path = env.tempFolder() + "/temp.bmp";
    const QByteArray whole = bitmapOf(gradient(16, 16));

    writeFile(path, whole.left(whole.size() - 10));
    EXPECT_THROW(generator::LoadPicture(path), shell::Failure);

    // A header that claims 100,000 by 100,000 pixels is refused before anything is allocated.
    QByteArray huge = whole;
    qToLittleEndian<qint32>(100000, huge.data() + 18);
    qToLittleEndian<qint32>(100000, huge.data() + 22);
    writeFile(path, huge);
    EXPECT_THROW(generator::LoadPicture(path), shell::Failure);
}
