#include "engine/render/range_picture.h"
#include "engine/render/sheet_geometry.h"

#include "support/isolated_environment.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>

using namespace engine;
using engine::render::columnWidthPixels;
using engine::render::kCutBandThickness;
using engine::render::kMaxPictureExtent;
using engine::render::NumberSymbols;
using engine::render::renderRange;
using engine::render::rowHeightPixels;

namespace {

// Palette entries the tests paint with.
constexpr int kRed = 3;
constexpr int kBlue = 5;
constexpr int kSlate = 10;
constexpr int kGreen = 4;

class RangePicture : public ::testing::Test {
protected:
    RangePicture() {
        workbook.palette[kRed - 1] = 0x0000FF;    // red 255
        workbook.palette[kGreen - 1] = 0x00FF00;  // green 255
        workbook.palette[kBlue - 1] = 0xFF0000;   // blue 255
        workbook.palette[kSlate - 1] = 84 + 256 * 125 + 65536 * 146;
    }

    StyleId styled(const std::function<void(CellStyle&)>& change) {
        CellStyle s;
        change(s);
        return workbook.styles.intern(s);
    }
    void put(int row, int col, CellValue value, StyleId style = kDefaultStyleId) {
        Cell& cell = sheet.cells[CellAddress{row, col}];
        cell.value = std::move(value);
        cell.style = style;
    }
    void format(int row, int col, StyleId style) { sheet.cells[CellAddress{row, col}].style = style; }

    // Left pixel of column col and top pixel of row row, counted from the range's first.
    int x(int col, int firstCol = 0) const {
        int px = 0;
        for (int c = firstCol; c < col; ++c) px += columnWidthPixels(sheet.columnWidth(c));
        return px;
    }
    int y(int row, int firstRow = 0) const {
        int px = 0;
        for (int r = firstRow; r < row; ++r) px += rowHeightPixels(sheet.rowHeight(r));
        return px;
    }

    QImage render(const CellArea& area) const { return renderRange(workbook, sheet, area); }

    IsolatedEnvironment env;
    WorkbookData workbook;
    SheetData sheet;
};

QColor at(const QImage& image, int px, int py) { return image.pixelColor(px, py); }

bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

// Dark pixels inside a rectangle of the image.
int darkPixels(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int py = rect.top(); py <= rect.bottom(); ++py)
        for (int px = rect.left(); px <= rect.right(); ++px)
            if (isDark(image.pixel(px, py))) ++count;
    return count;
}

// The columns (or rows) of a rectangle that hold a dark pixel: first and last.
std::pair<int, int> darkColumns(const QImage& image, const QRect& rect) {
    int first = -1, last = -1;
    for (int px = rect.left(); px <= rect.right(); ++px)
        for (int py = rect.top(); py <= rect.bottom(); ++py)
            if (isDark(image.pixel(px, py))) {
                if (first < 0) first = px;
                last = px;
                break;
            }
    return {first, last};
}

// Separate lines of text: runs of pixel rows holding dark pixels.
int textLines(const QImage& image, const QRect& rect) {
    int lines = 0;
    bool inLine = false;
    for (int py = rect.top(); py <= rect.bottom(); ++py) {
        const bool dark = darkPixels(image, QRect(rect.left(), py, rect.width(), 1)) > 0;
        if (dark && !inLine) ++lines;
        inLine = dark;
    }
    return lines;
}

TEST_F(RangePicture, MeasuresTheSumOfColumnWidthsByTheSumOfRowHeights) {
    sheet.columnWidths = {{0, 3.71}, {1, 28}, {2, 28}, {3, 28}};
    sheet.rowHeights = {{0, 38.25}, {1, 13.5}};
    const QImage image = render({0, 0, 2, 3});
    EXPECT_EQ(image.width(), 31 + 3 * 201);
    EXPECT_EQ(image.height(), 51 + 18 + 17);

    // A range that starts further in measures only its own rows and columns.
    const QImage inner = render({1, 1, 2, 2});
    EXPECT_EQ(inner.size(), QSize(2 * 201, 18 + 17));
}

TEST_F(RangePicture, FillsCellsWithTheirPaletteColourAndLeavesTheRestWhite) {
    put(1, 1, QStringLiteral(""), styled([](CellStyle& s) { s.fillColorIndex = kSlate; }));
    format(0, 2, styled([](CellStyle& s) { s.fillColorIndex = kColorNone; }));
    const QImage image = render({0, 0, 2, 2});
    const int cx = x(1) + 32, cy = y(1) + 8;
    EXPECT_EQ(at(image, cx, cy), QColor(84, 125, 146));
    // The fill covers the whole cell, gridline pixels included, and nothing more.
    EXPECT_EQ(at(image, x(1), y(1)), QColor(84, 125, 146));
    EXPECT_EQ(at(image, x(2) - 1, y(2) - 1), QColor(84, 125, 146));
    EXPECT_EQ(at(image, x(2), cy), QColor(Qt::white));
    EXPECT_EQ(at(image, x(1) - 1, cy), QColor(Qt::white));
    EXPECT_EQ(at(image, cx, y(1) - 1), QColor(Qt::white));
    EXPECT_EQ(at(image, x(2) + 10, y(0) + 5), QColor(Qt::white));  // no fill: white
}

TEST_F(RangePicture, DrawsBordersOnTheGridlinesWithTheirColourAndThickness) {
    put(1, 1, 1.0, styled([](CellStyle& s) {
        s.border(CellSide::Left) = {BorderLine::Thin, kRed};
        s.border(CellSide::Right) = {BorderLine::Thick, kBlue};
        s.border(CellSide::Bottom) = {BorderLine::Medium, kColorAutomatic};
    }));
    const QImage image = render({0, 0, 2, 2});
    const int midY = y(1) + 8;
    const QColor red(255, 0, 0), blue(0, 0, 255), white(Qt::white), black(Qt::black);

    // Thin: the one gridline pixel left of the cell.
    EXPECT_EQ(at(image, x(1) - 2, midY), white);
    EXPECT_EQ(at(image, x(1) - 1, midY), red);
    EXPECT_EQ(at(image, x(1), midY), white);
    // Thick: three pixels centred on the gridline to the right.
    EXPECT_EQ(at(image, x(2) - 3, midY), white);
    EXPECT_EQ(at(image, x(2) - 2, midY), blue);
    EXPECT_EQ(at(image, x(2) - 1, midY), blue);
    EXPECT_EQ(at(image, x(2), midY), blue);
    EXPECT_EQ(at(image, x(2) + 1, midY), white);
    // Medium, automatic colour: two black pixels across the gridline below.
    const int midX = x(1) + 20;
    EXPECT_EQ(at(image, midX, y(2) - 2), white);
    EXPECT_EQ(at(image, midX, y(2) - 1), black);
    EXPECT_EQ(at(image, midX, y(2)), black);
    EXPECT_EQ(at(image, midX, y(2) + 1), white);
    // No border above the cell.
    EXPECT_EQ(at(image, midX, y(1) - 1), white);
}

TEST_F(RangePicture, TheHeavierOfTwoNeighboursBordersShowsOnTheirSharedEdge) {
    put(0, 0, QStringLiteral("a"), styled([](CellStyle& s) {
        s.border(CellSide::Right) = {BorderLine::Thin, kRed};
    }));
    put(0, 1, QStringLiteral("b"), styled([](CellStyle& s) {
        s.border(CellSide::Left) = {BorderLine::Medium, kGreen};
    }));
    const QImage image = render({0, 0, 0, 1});
    const int boundary = x(1), midY = 8;
    EXPECT_EQ(at(image, boundary - 1, midY), QColor(0, 255, 0));
    EXPECT_EQ(at(image, boundary, midY), QColor(0, 255, 0));
    EXPECT_EQ(at(image, boundary - 2, midY), QColor(Qt::white));
}

TEST_F(RangePicture, BordersOnThePicturesOuterEdgesStayInside) {
    const StyleId boxed = styled([](CellStyle& s) {
        for (CellSide e : {CellSide::Left, CellSide::Top, CellSide::Right, CellSide::Bottom})
            s.border(e) = {BorderLine::Medium, kBlue};
    });
    format(0, 0, boxed);
    const QImage image = render({0, 0, 0, 0});
    const QColor blue(0, 0, 255);
    const int w = image.width(), h = image.height();
    for (int inset : {0, 1}) {
        EXPECT_EQ(at(image, inset, h / 2), blue) << inset;
        EXPECT_EQ(at(image, w - 1 - inset, h / 2), blue) << inset;
        EXPECT_EQ(at(image, w / 2, inset), blue) << inset;
        EXPECT_EQ(at(image, w / 2, h - 1 - inset), blue) << inset;
    }
    EXPECT_EQ(at(image, 2, h / 2), QColor(Qt::white));
    EXPECT_EQ(at(image, w / 2, h / 2), QColor(Qt::white));
}

TEST_F(RangePicture, AMergedAreaIsOneCellWithItsTextCentredAcrossIt) {
    sheet.columnWidths = {{0, 3.71}, {1, 28}, {2, 28}, {3, 28}};
    sheet.rowHeights = {{0, 38.25}};
    const StyleId title = styled([](CellStyle& s) {
        s.font = {QStringLiteral("Garamond"), 24, true, false, kColorAutomatic};
        s.hAlign = HorizontalAlignment::Center;
        s.vAlign = VerticalAlignment::Center;
        s.fillColorIndex = kSlate;
        s.border(CellSide::Right) = {BorderLine::Thick, kRed};  // inside the area: not drawn
    });
    put(0, 1, QStringLiteral("Sales Commission Calculator"), title);
    format(0, 2, title);
    format(0, 3, title);
    sheet.merges.push_back({0, 1, 0, 3});
    const QImage image = render({0, 0, 0, 3});

    const QRect area(x(1), 0, x(4) - x(1), rowHeightPixels(38.25));
    const auto [left, right] = darkColumns(image, area);
    ASSERT_GE(left, 0) << "no text drawn";
    const int middle = (x(1) + x(4)) / 2;
    EXPECT_NEAR((left + right) / 2.0, middle, 4);
    EXPECT_LT(left, x(2));  // wider than the middle column: it spans the merge
    EXPECT_GT(right, x(3));
    // One fill over the whole area, no border between its cells.
    EXPECT_EQ(at(image, x(2) - 1, 2), QColor(84, 125, 146));
    EXPECT_EQ(at(image, x(3), 2), QColor(84, 125, 146));
    EXPECT_EQ(at(image, x(4) - 1, 2), QColor(255, 0, 0));  // the area's own right edge
}

TEST_F(RangePicture, GeneralAlignmentPutsNumbersRightAndTextLeft) {
    sheet.columnWidths = {{0, 28}};
    put(0, 0, 42.0);
    put(1, 0, QStringLiteral("Ann"));
    put(2, 0, true);
    const QImage image = render({0, 0, 2, 0});
    const int w = image.width();
    const auto [numLeft, numRight] = darkColumns(image, QRect(0, y(0), w, 17));
    const auto [textLeft, textRight] = darkColumns(image, QRect(0, y(1), w, 17));
    const auto [boolLeft, boolRight] = darkColumns(image, QRect(0, y(2), w, 17));
    EXPECT_GT(numLeft, w / 2);
    EXPECT_LT(textRight, w / 2);
    EXPECT_LT(boolLeft, w / 2);
    EXPECT_GT(boolRight, w / 2);
}

TEST_F(RangePicture, ValuesShowThroughTheirNumberFormat) {
    // 0.1 as a percentage needs far more room than 0.1 in General.
    sheet.columnWidths = {{0, 28}};
    put(0, 0, 0.1);
    put(1, 0, 0.1, styled([](CellStyle& s) { s.numberFormat = QStringLiteral("$#,##0.00;;\"nothing\""); }));
    put(2, 0, 0.0, styled([](CellStyle& s) { s.numberFormat = QStringLiteral("0;0;\"nothing at all\""); }));
    const QImage image = render({0, 0, 2, 0});
    const int w = image.width();
    const auto [generalLeft, generalRight] = darkColumns(image, QRect(0, y(0), w, 17));
    const auto [currencyLeft, currencyRight] = darkColumns(image, QRect(0, y(1), w, 17));
    const auto [zeroLeft, zeroRight] = darkColumns(image, QRect(0, y(2), w, 17));
    EXPECT_LT(currencyLeft, generalLeft);  // "$0.10" is wider than "0.1"
    EXPECT_LT(zeroLeft, currencyLeft);     // the zero section's text
    EXPECT_EQ(generalRight, currencyRight);
}

TEST_F(RangePicture, ANumberTooWideForItsCellShowsHashMarks) {
    sheet.columnWidths = {{0, 3}, {1, 3}};
    put(0, 0, 123456789.0);
    // As many marks as fit beside the cell's margins, in the same font, right-aligned.
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(engine::render::fontPixelSize(10));
    const int w = columnWidthPixels(3);
    const int room = w - 1 - 2 * 2;
    const int marks = static_cast<int>(room / QFontMetricsF(arial).horizontalAdvance(u'#'));
    ASSERT_GE(marks, 1);
    put(0, 1, QString(marks, u'#'), styled([](CellStyle& s) { s.hAlign = HorizontalAlignment::Right; }));

    const QImage image = render({0, 0, 0, 1});
    ASSERT_GT(darkPixels(image, QRect(0, 0, w, 17)), 0);
    EXPECT_EQ(image.copy(0, 0, w, 17), image.copy(w, 0, w, 17));
}

TEST_F(RangePicture, WrappedTextBreaksIntoLinesInsideTheCell) {
    sheet.columnWidths = {{0, 12}, {1, 12}};
    sheet.rowHeights = {{0, 60}};
    const QString text = QStringLiteral("Total commission paid this year");
    put(0, 0, text, styled([](CellStyle& s) { s.wrap = true; }));
    put(0, 1, text);
    const QImage image = render({0, 0, 0, 1});
    const int w = columnWidthPixels(12), h = image.height();
    EXPECT_GE(textLines(image, QRect(0, 0, w - 1, h)), 2);
    EXPECT_EQ(textLines(image, QRect(w, 0, w - 1, h)), 1);
}

TEST_F(RangePicture, TextThatDoesNotFitIsCutAtItsCellsEdges) {
    sheet.rowHeights = {{0, 12.75}, {1, 12.75}};
    const QString longText = QStringLiteral("A rather long text that runs on and on");
    put(0, 0, longText);                                                       // one line, too wide
    put(1, 0, longText, styled([](CellStyle& s) { s.wrap = true; s.vAlign = VerticalAlignment::Top; }));  // too tall
    const QImage image = render({0, 0, 2, 1});
    const int w = columnWidthPixels(8.43), h = rowHeightPixels(12.75);
    EXPECT_GT(darkPixels(image, QRect(0, 0, w - 1, h - 1)), 0);
    EXPECT_GT(darkPixels(image, QRect(0, h, w - 1, h - 1)), 0);
    EXPECT_EQ(darkPixels(image, QRect(w - 1, 0, w + 1, image.height())), 0);  // nothing in B
    EXPECT_EQ(darkPixels(image, QRect(0, 2 * h - 1, w, h + 1)), 0);          // nothing in row 3
}

TEST_F(RangePicture, AVeryLongTextShowsAsItsVisiblePartWould) {
    sheet.columnWidths = {{0, 20}, {1, 20}};
    QString text;
    for (int i = 0; text.size() < kMaxTextLength - 40; ++i) text += QStringLiteral("word%1 ").arg(i);
    const StyleId right = styled([](CellStyle& s) { s.hAlign = HorizontalAlignment::Right; });
    put(0, 0, text);
    put(0, 1, text.left(300));
    put(1, 0, text, right);
    put(1, 1, text.right(300), right);
    const QImage image = render({0, 0, 1, 1});
    const int w = columnWidthPixels(20), h = 17;
    EXPECT_GT(darkPixels(image, QRect(0, 0, w, h)), 0);
    EXPECT_EQ(image.copy(0, 0, w, h), image.copy(w, 0, w, h));  // the start shows
    EXPECT_EQ(image.copy(0, h, w, h), image.copy(w, h, w, h));  // right-aligned: the end shows
}

TEST_F(RangePicture, FontColourAndVerticalAlignmentApply) {
    sheet.rowHeights = {{0, 60}, {1, 60}};
    put(0, 0, QStringLiteral("Top"), styled([](CellStyle& s) {
        s.vAlign = VerticalAlignment::Top;
        s.font.colorIndex = kBlue;
        s.font.bold = true;
    }));
    put(1, 0, QStringLiteral("Low"));
    const QImage image = render({0, 0, 1, 0});
    const int h = rowHeightPixels(60), w = image.width();
    EXPECT_GT(darkPixels(image, QRect(0, 0, w, h / 2)), 0);
    EXPECT_EQ(darkPixels(image, QRect(0, h / 2, w, h / 2)), 0);
    EXPECT_EQ(darkPixels(image, QRect(0, h, w, h / 2)), 0);
    EXPECT_GT(darkPixels(image, QRect(0, h + h / 2, w, h / 2)), 0);
    bool blueText = false;
    for (int py = 0; py < h / 2 && !blueText; ++py)
        for (int px = 0; px < w && !blueText; ++px) {
            const QColor c = at(image, px, py);
            blueText = c.blue() > 200 && c.red() < 80 && c.green() < 80;
        }
    EXPECT_TRUE(blueText);
}

TEST_F(RangePicture, AnEmptyRangeIsWhiteAtItsFullSize) {
    const QImage image = render({0, 0, 9, 3});
    ASSERT_EQ(image.size(), QSize(4 * 64, 10 * 17));
    EXPECT_EQ(darkPixels(image, image.rect()), 0);
    for (int py = 0; py < image.height(); py += 7)
        for (int px = 0; px < image.width(); px += 7) ASSERT_EQ(at(image, px, py), QColor(Qt::white));
}

TEST_F(RangePicture, NothingShowsWhenEveryColumnIsHidden) {
    sheet.columnWidths = {{0, 0}, {1, 0}};
    put(0, 0, 1.0);
    EXPECT_TRUE(render({0, 0, 5, 1}).isNull());
}

TEST_F(RangePicture, ASheetOfThirtyTwoThousandRecordsIsCutWithABand) {
    constexpr int records = 32767;
    sheet.columnWidths = {{0, 3.71}, {1, 28}, {2, 28}, {3, 28}};
    const StyleId grey = styled([](CellStyle& s) { s.fillColorIndex = kSlate; });
    for (int i = 0; i < records; ++i) {
        sheet.rowHeights[6 + i] = 15;
        put(6 + i, 1, QStringLiteral("Person %1").arg(i), i % 2 ? grey : kDefaultStyleId);
        put(6 + i, 2, 1000.0 + i, i % 2 ? grey : kDefaultStyleId);
    }
    const int lastRow = 6 + records;
    const QImage image = render({0, 0, lastRow, 3});
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.height(), kMaxPictureExtent);
    EXPECT_EQ(image.width(), 31 + 3 * 201);

    // Whole rows down to the band, then the band with its text.
    const int rowsShown = (image.height() - kCutBandThickness - y(6)) / 20;
    EXPECT_EQ(y(6) + rowsShown * 20 + kCutBandThickness, image.height());
    EXPECT_LT(kMaxPictureExtent - image.height(), 20);  // another row would not have fitted
    const QRect band(0, image.height() - kCutBandThickness, image.width(), kCutBandThickness);
    EXPECT_GT(darkPixels(image, band), 50);
    // The last row shown keeps its own fill (odd records are grey) right above the band.
    const int lastRecordShown = rowsShown - 1;
    const QColor lastFill = lastRecordShown % 2 ? QColor(84, 125, 146) : QColor(Qt::white);
    EXPECT_EQ(at(image, x(1) + 3, band.top() - 2), lastFill);
    EXPECT_EQ(at(image, x(1) + 3, band.top() + 1), QColor(Qt::white));
}

TEST_F(RangePicture, ARangeTooWideIsCutWithABandOnTheRight) {
    for (int c = 0; c < kMaxColumns; ++c) sheet.columnWidths[c] = 100;
    const QImage image = render({0, 0, 3, kMaxColumns - 1});
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.width(), kMaxPictureExtent);
    EXPECT_EQ(image.height(), 4 * 17);
    const int columnPx = columnWidthPixels(100);
    EXPECT_EQ((image.width() - kCutBandThickness) % columnPx, 0);
    const QRect band(image.width() - kCutBandThickness, 0, kCutBandThickness, image.height());
    EXPECT_GT(darkPixels(image, band), 20);
}

// A sheet with a bit of everything a picture shows: a merged title in a large font,
// fills, borders of every weight, numbers, text cut at its cell, wrapped text.
class PaintedParts : public RangePicture {
protected:
    PaintedParts() {
        sheet.columnWidths = {{0, 3.71}, {1, 20}, {2, 12}, {3, 9}, {4, 12}, {5, 12}, {6, 12}, {7, 12}};
        sheet.rowHeights = {{0, 38.25}, {2, 30}};
        const StyleId title = styled([](CellStyle& s) {
            s.font = {QStringLiteral("Garamond"), 24, true, false, kColorAutomatic};
            s.hAlign = HorizontalAlignment::Center;
            s.fillColorIndex = kSlate;
        });
        // Wider than a part's reach, so that a part in its middle must take it whole.
        put(0, 1, QStringLiteral("Sales Commission Calculator"), title);
        for (int c = 2; c <= 7; ++c) format(0, c, title);
        sheet.merges.push_back({0, 1, 0, 7});
        const BorderLine lines[] = {BorderLine::Thin, BorderLine::Medium, BorderLine::Thick};
        for (int r = 1; r < 12; ++r) {
            for (int c = 1; c <= 3; ++c) {
                const StyleId look = styled([&](CellStyle& s) {
                    s.border(CellSide::Bottom) = {lines[(r + c) % 3], kBlue};
                    s.border(CellSide::Right) = {lines[r % 3], kRed};
                    if ((r + c) % 4 == 0) s.fillColorIndex = kGreen;
                    s.numberFormat = QStringLiteral("$#,##0.00");
                    s.wrap = r == 2;
                    s.font.italic = c == 3;
                });
                if (c == 1) put(r, c, QStringLiteral("A name too long for its cell, row %1").arg(r), look);
                else put(r, c, 1234.5 * r * c, look);
            }
        }
    }

    // What painting `part` alone, at `scale`, leaves on a canvas of the whole
    // picture's size first filled magenta.
    QImage paintedAlone(const engine::render::RangePicture& picture, const QRect& part, double scale) const {
        const QSize size = picture.size() * scale;
        QImage canvas(size, QImage::Format_RGB32);
        canvas.fill(Qt::magenta);
        QPainter painter(&canvas);
        painter.scale(scale, scale);
        picture.paint(painter, QRectF(part));
        return canvas;
    }
};

TEST_F(PaintedParts, AnyPartPaintedAloneIsThatPartOfTheWholePicture) {
    const CellArea area{0, 0, 11, 7};
    const engine::render::RangePicture picture(workbook, sheet, area);
    const QImage whole = picture.image();
    ASSERT_EQ(whole.size(), picture.size());
    ASSERT_EQ(whole, render(area));

    const QRect parts[] = {
        QRect(QPoint(0, 0), picture.size()),                  // all of it
        QRect(x(4) + 10, 10, 40, 20),                         // in the middle of the merged title
        QRect(x(2) - 1, 0, 3, picture.size().height()),       // across a column's border
        QRect(0, y(3) - 2, picture.size().width(), 4),        // across a row's borders
        QRect(x(1) + 5, y(2) + 3, 90, 25),                    // through wrapped text
        QRect(x(1) + 60, y(5) + 4, 200, 30),                  // through cut text and numbers
        QRect(x(3) + 7, y(10) + 1, 1, 1),                     // a single pixel
        QRect(x(3), y(11), x(4) - x(3), y(12) - y(11)),       // the last cell, edges included
    };
    for (const QRect& part : parts) {
        SCOPED_TRACE(testing::Message() << part.x() << "," << part.y() << " " << part.width() << "x" << part.height());
        const QImage alone = paintedAlone(picture, part, 1);
        EXPECT_EQ(alone.copy(part), whole.copy(part));
        // Nothing outside the part is touched.
        QImage outside = alone;
        QPainter(&outside).fillRect(part, Qt::magenta);
        QImage untouched(outside.size(), outside.format());
        untouched.fill(Qt::magenta);
        EXPECT_EQ(outside, untouched);
    }
}

// Scaled, a part painted alone is the same part of the whole picture at that scale.
TEST_F(PaintedParts, APartAtAScaleIsThatPartOfTheWholeScaledPicture) {
    const engine::render::RangePicture picture(workbook, sheet, {0, 0, 11, 7});
    for (const double scale : {0.25, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const QImage whole = picture.image(scale);
        ASSERT_EQ(whole.size(), QSize(int(std::ceil(picture.size().width() * scale)),
                                      int(std::ceil(picture.size().height() * scale))));
        const QRect part(x(1) + 8, y(1) + 4, 160, 80);
        const QRect onDevice = QRectF(QPointF(part.topLeft()) * scale, QSizeF(part.size()) * scale).toRect();
        EXPECT_EQ(paintedAlone(picture, part, scale).copy(onDevice), whole.copy(onDevice));
        // Thin lines keep a pixel however small the scale.
        EXPECT_GT(darkPixels(whole, whole.rect()), 0);
    }
}

TEST_F(RangePicture, AWholeLongSheetIsLaidOutAndItsLastRowPainted) {
    constexpr int records = 32767;
    sheet.columnWidths = {{0, 3.71}, {1, 28}, {2, 28}};
    for (int i = 0; i < records; ++i) put(i, 1, QStringLiteral("Person %1").arg(i));
    put(records, 1, QStringLiteral("Totals"));
    const CellArea area{0, 0, records, 2};
    const engine::render::RangePicture picture(workbook, sheet, area);
    EXPECT_EQ(picture.size(), QSize(31 + 2 * 201, (records + 1) * 17));
    const QRect totals = picture.cellRect(records, 1);
    EXPECT_EQ(totals, QRect(31, records * 17, 201, 17));
    EXPECT_EQ(picture.cellText(records, 1), QStringLiteral("Totals"));

    QImage last(totals.size(), QImage::Format_RGB32);
    last.fill(Qt::magenta);
    QPainter painter(&last);
    painter.translate(-totals.topLeft());
    picture.paint(painter, totals);
    painter.end();
    EXPECT_GT(darkPixels(last, last.rect()), 0);
    // The row before shows another text.
    QImage before(totals.size(), QImage::Format_RGB32);
    QPainter previous(&before);
    previous.translate(-totals.topLeft() + QPoint(0, 17));
    picture.paint(previous, totals.translated(0, -17));
    previous.end();
    EXPECT_NE(before, last);
}

TEST_F(RangePicture, NumbersShowWithTheGivenSymbols) {
    sheet.columnWidths = {{0, 28}};
    put(0, 0, 5600.0, styled([](CellStyle& s) { s.numberFormat = QStringLiteral("$#,##0.00"); }));
    put(1, 0, 0.075, styled([](CellStyle& s) { s.numberFormat = QStringLiteral("0.0%"); }));
    const NumberSymbols german{QStringLiteral(","), QStringLiteral(".")};
    const engine::render::RangePicture inGerman(workbook, sheet, {0, 0, 1, 0}, german);
    EXPECT_EQ(inGerman.cellText(0, 0), QStringLiteral("$5.600,00"));
    EXPECT_EQ(inGerman.cellText(1, 0), QStringLiteral("7,5%"));
    const engine::render::RangePicture asFormatted(workbook, sheet, {0, 0, 1, 0});
    EXPECT_EQ(asFormatted.cellText(0, 0), QStringLiteral("$5,600.00"));
    // The pictures differ where the texts do.
    EXPECT_NE(inGerman.image(), asFormatted.image());
}

}  // namespace
