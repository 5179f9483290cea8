// A cell's text in the picture against the same text drawn by QPainter::drawText
// where the picture puts a cell's text: plain text goes straight to its glyphs, the
// rest through the text layout, and both must look exactly as the layout draws them.
#include "engine/render/range_picture.h"
#include "engine/render/sheet_geometry.h"

#include "support/isolated_environment.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace engine;
using engine::render::columnWidthPixels;
using engine::render::fontPixelSize;
using engine::render::renderRange;
using engine::render::rowHeightPixels;

namespace {

constexpr int kBlue = 5;
constexpr double kRowPoints = 30;  // 40 pixels: room for a line in any of the fonts used

// Characters of column width that make a column the given number of pixels wide.
double charactersFor(int pixels) {
    for (double c = 1; c < 255; c += 1.0 / 256)
        if (columnWidthPixels(c) == pixels) return c;
    return 0;
}

bool isDark(QRgb pixel) { return qGray(pixel) < 160; }

int darkPixels(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (isDark(image.pixel(x, y))) ++count;
    return count;
}

class CellText : public ::testing::Test {
protected:
    CellText() { workbook.palette[kBlue - 1] = 0xFF0000; }

    // A one-cell sheet of the given pixel width holding value in a cell of that style.
    QImage renderCell(const CellValue& value, const CellStyle& style, int widthPixels) {
        sheet.columnWidths = {{0, charactersFor(widthPixels)}};
        sheet.rowHeights = {{0, kRowPoints}};
        Cell& cell = sheet.cells[CellAddress{0, 0}];
        cell.value = value;
        cell.style = workbook.styles.intern(style);
        return renderRange(workbook, sheet, {0, 0, 0, 0});
    }

    // What QPainter::drawText shows for text in a cell of that size and style,
    // with the picture's margins: two pixels beside the text, one above and below,
    // the last pixel row and column left to the gridlines.
    static QImage drawnByLayout(const QString& text, const CellStyle& style, int flags, const QSize& size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QFont font(style.font.name);
        font.setPixelSize(fontPixelSize(style.font.size));
        font.setBold(style.font.bold);
        font.setItalic(style.font.italic);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(style.font.colorIndex == kBlue ? QColor(0, 0, 255) : QColor(Qt::black));
        painter.drawText(textRect(size), flags | Qt::TextDontClip, text);
        return image;
    }

    static QRect textRect(const QSize& size) {
        return QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1).adjusted(2, 1, -2, -1);
    }

    IsolatedEnvironment env;
    WorkbookData workbook;
    SheetData sheet;
};

CellStyle styleOf(const char* font, double points, bool bold = false) {
    CellStyle s;
    s.font.name = QString::fromLatin1(font);
    s.font.size = points;
    s.font.bold = bold;
    return s;
}

TEST_F(CellText, TextLooksAsTheLayoutDrawsItInEveryAlignment) {
    const struct {
        HorizontalAlignment h;
        int flag;
    } horizontal[] = {{HorizontalAlignment::General, Qt::AlignLeft},
                      {HorizontalAlignment::Left, Qt::AlignLeft},
                      {HorizontalAlignment::Center, Qt::AlignHCenter},
                      {HorizontalAlignment::Right, Qt::AlignRight}};
    const struct {
        VerticalAlignment v;
        int flag;
    } vertical[] = {{VerticalAlignment::Top, Qt::AlignTop},
                    {VerticalAlignment::Center, Qt::AlignVCenter},
                    {VerticalAlignment::Bottom, Qt::AlignBottom}};
    const QString texts[] = {QStringLiteral("Salesperson 17"), QStringLiteral("Total Sales Amount"),
                             QStringLiteral("AVATAR To Wa"), QStringLiteral("office")};
    for (const char* font : {"Century Gothic", "Garamond", "Arial"}) {
        for (const QString& text : texts) {
            for (const auto& [h, hFlag] : horizontal) {
                for (const auto& [v, vFlag] : vertical) {
                    for (const bool wrap : {false, true}) {
                        CellStyle style = styleOf(font, 9, std::strcmp(font, "Garamond") == 0);
                        style.hAlign = h;
                        style.vAlign = v;
                        style.wrap = wrap;
                        style.font.colorIndex = kBlue;
                        SCOPED_TRACE(std::string(font) + " \"" + text.toStdString() + "\" " +
                                     std::to_string(int(h)) + "/" + std::to_string(int(v)) + (wrap ? " wrapped" : ""));
                        const QImage picture = renderCell(text, style, 201);
                        const int flags = hFlag | vFlag | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
                        ASSERT_GT(darkPixels(picture, picture.rect()), 20);
                        ASSERT_TRUE(picture == drawnByLayout(text, style, flags, picture.size()));
                    }
                }
            }
        }
    }
}

TEST_F(CellText, NumbersAndTheirHashMarksLookAsTheLayoutDrawsThem) {
    CellStyle money = styleOf("Century Gothic", 9);
    money.numberFormat = QStringLiteral("$#,##0.00");
    QImage picture = renderCell(1037.0, money, 201);
    EXPECT_TRUE(picture == drawnByLayout(QStringLiteral("$1,037.00"), money, Qt::AlignRight | Qt::AlignBottom,
                                         picture.size()));

    // Too wide for its cell: as many marks as fit, right-aligned like the number.
    picture = renderCell(123456789.0, money, 40);
    const QFontMetricsF metrics([&] {
        QFont f(money.font.name);
        f.setPixelSize(fontPixelSize(money.font.size));
        return f;
    }());
    const int marks = static_cast<int>(std::floor(textRect(picture.size()).width() / metrics.horizontalAdvance(u'#')));
    ASSERT_GE(marks, 1);
    EXPECT_TRUE(picture == drawnByLayout(QString(marks, u'#'), money, Qt::AlignRight | Qt::AlignBottom,
                                         picture.size()));
}

TEST_F(CellText, TextTheFastPathCannotTakeStillShowsAsTheLayoutDrawsIt) {
    const QString texts[] = {
        QStringLiteral("\u4E2D\u6587 text"),          // characters the font lacks: a fallback font shows them
        QStringLiteral("\u05E9\u05DC\u05D5\u05DD 12"),  // right to left
        QStringLiteral("ok \U0001F600"),                // an emoji beyond the BMP
        QStringLiteral("cafe\u0301"),                   // a combining accent
        QStringLiteral("1\u20442 cup"),                 // a fraction
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const CellStyle style = styleOf("Arial", 10);
        const QImage picture = renderCell(text, style, 201);
        EXPECT_GT(darkPixels(picture, picture.rect()), 20);
        EXPECT_TRUE(picture == drawnByLayout(text, style, Qt::AlignLeft | Qt::AlignBottom, picture.size()));
    }
}

TEST_F(CellText, TextExactlyAsWideAsItsCellShowsWholeAndOnePixelLessIsCut) {
    CellStyle style = styleOf("Century Gothic", 9);
    style.hAlign = HorizontalAlignment::Right;
    const QString text = QStringLiteral("Salesperson 32767");
    QFont font(style.font.name);
    font.setPixelSize(fontPixelSize(style.font.size));
    const int advance = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
    // The text's room is the cell less two margins of two pixels and the gridline.
    const int exact = advance + 2 * 2 + 1;

    const QImage whole = renderCell(text, style, exact);
    ASSERT_EQ(whole.width(), exact);
    EXPECT_TRUE(whole == drawnByLayout(text, style, Qt::AlignRight | Qt::AlignBottom, whole.size()));

    // One pixel narrower, the text no longer fits: it is cut at the cell's edges
    // and nothing of it lands on the gridline column.
    const QImage cut = renderCell(text, style, exact - 1);
    const int h = rowHeightPixels(kRowPoints);
    EXPECT_GT(darkPixels(cut, QRect(0, 0, cut.width() - 1, h)), 20);
    EXPECT_EQ(darkPixels(cut, QRect(cut.width() - 1, 0, 1, h)), 0);
    EXPECT_EQ(darkPixels(cut, QRect(0, h - 1, cut.width(), 1)), 0);
}

}  // namespace
