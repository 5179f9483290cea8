// The sheet's picture as every use takes it: painted in parts, as a whole image for
// any screen, of another area, onto a PDF writer.
#include "generator/sheet_picture.h"
#include "engine/model/cell_types.h"
#include "listed_records.h"
#include "support/isolated_environment.h"
#include "support/qt_gtest_printers.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace {

class SheetPicture : public ::testing::Test {
protected:
    IsolatedEnvironment env;
    const generator::SheetPicture picture = numberedRecordsPicture(3);
};

// The part of the picture painted on its own onto an image of a screen's ratio.
QImage paintedPart(const generator::SheetPicture& picture, const QRect& part, double zoom, double ratio) {
    QImage image(part.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.translate(-part.topLeft());
    picture.paint(painter, part, zoom);
    return image;
}

TEST_F(SheetPicture, SizesAtZoomOneInPixelsAndPoints) {
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.area(), (engine::CellArea{0, 1, 9, 3}));  // B1:D10
    // Title, labels, percentage, gap, headings, three records, totals.
    EXPECT_EQ(picture.pixelSize(), QSize(3 * 201, 51 + 18 + 20 + 22 + 9 + 26 + 3 * 20 + 17));
    EXPECT_EQ(picture.pointSize(), QSizeF(picture.pixelSize()) * 0.75);
    // The merged title spans the three columns.
    EXPECT_EQ(picture.cellRect(0, 2), QRect(0, 0, 603, 51));
}

// For a screen of ratio 2 the picture is painted at twice the pixels (sharp), not a
// picture of ratio 1 scaled up; painted in parts it is the same as whole.
TEST_F(SheetPicture, WholeImageForAnyScreenAndPartsAlike) {
    for (const double zoom : {1.0, 1.5}) {
        for (const double ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << zoom << " at ratio " << ratio);
            const QImage whole = picture.image(zoom, ratio);
            EXPECT_EQ(whole.devicePixelRatio(), ratio);
            const QSizeF device = QSizeF(picture.pixelSize()) * zoom * ratio;
            EXPECT_EQ(whole.size(), QSize(int(std::ceil(device.width())), int(std::ceil(device.height()))));
            const QRect part(40, 60, 200, 100);  // in the zoomed picture's pixels
            QImage expected = whole.copy(QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio).toRect());
            expected.setDevicePixelRatio(ratio);
            EXPECT_EQ(paintedPart(picture, part, zoom, ratio), expected);
        }
    }
    const QImage single = picture.image(1, 1);
    const QImage sharp = picture.image(1, 2);
    EXPECT_NE(sharp.convertToFormat(QImage::Format_RGB32),
              single.scaled(single.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                  .convertToFormat(QImage::Format_RGB32));
}

TEST_F(SheetPicture, AnotherAreaOfTheSameSheet) {
    // The records and their totals, B7:D10, without the title and headings.
    const generator::SheetPicture records = picture.ofArea({6, 1, 9, 3});
    EXPECT_EQ(records.area(), (engine::CellArea{6, 1, 9, 3}));
    EXPECT_EQ(records.pixelSize(), QSize(603, 3 * 20 + 17));
    EXPECT_EQ(records.cellText(9, 1), QStringLiteral("Totals"));
    // Shown as the same part of the whole picture, borders on its edges aside.
    const QRect inWhole = picture.cellRect(6, 1).united(picture.cellRect(9, 3)).adjusted(3, 3, -3, -3);
    const QImage whole = picture.image();
    const QImage part = records.image();
    EXPECT_EQ(part.copy(inWhole.translated(0, -picture.cellRect(6, 1).top())), whole.copy(inWhole));
}

// Text that fits and text cut at its cell's edge alike.
TEST_F(SheetPicture, OnAPdfWriterTextStaysText) {
    const generator::SheetPicture withLongName = recordsPicture(generator::RecordList(
        {{QStringLiteral("A name far too long for its column, cut at the column's edge"), QStringLiteral("5600")}},
        QStringLiteral("10")));
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        QPainter painter(&writer);
        withLongName.paint(painter, QRectF(QPointF(0, 0), QSizeF(withLongName.pixelSize())), 1);
    }
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/FontFile2") || pdf.contains("/FontFile"));  // the fonts go with the text
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));                       // no text drawn as a picture
}

TEST(NullSheetPicture, ShowsNothing) {
    const generator::SheetPicture none;
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.pixelSize().isEmpty());
    EXPECT_TRUE(none.image().isNull());
    EXPECT_TRUE(none.ofArea({0, 0, 1, 1}).isNull());
    QImage untouched(10, 10, QImage::Format_RGB32);
    untouched.fill(Qt::magenta);
    QImage painted = untouched;
    QPainter painter(&painted);
    none.paint(painter, QRectF(0, 0, 10, 10), 1);
    painter.end();
    EXPECT_EQ(painted, untouched);
}

}  // namespace
