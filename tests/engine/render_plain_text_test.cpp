#include "engine/render/plain_text.h"

#include "support/isolated_environment.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

using engine::render::Fixed;
using engine::render::PlacedLine;
using engine::render::PlainLine;
using engine::render::PlainTextFont;

namespace {

QFont screenFont(const char* family, int pixels, bool bold = false, bool italic = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The fonts of the commission sheet and of a default sheet, as the picture draws them.
std::vector<QFont> sheetFonts() {
    return {screenFont("Century Gothic", 12),       screenFont("Century Gothic", 12, true),
            screenFont("Garamond", 15, true),        screenFont("Garamond", 32, true),
            screenFont("Garamond", 13, false, true), screenFont("Arial", 13),
            screenFont("Arial", 13, true, true)};
}

const QStringList kTexts = {
    QStringLiteral("$1,037.00"),    QStringLiteral("$3,222.00"),        QStringLiteral("10.0%"),
    QStringLiteral("-1234567.891"), QStringLiteral("#######"),          QStringLiteral("Salesperson 17"),
    QStringLiteral("SalePerson"),   QStringLiteral("Totals"),           QStringLiteral("Commission"),
    QStringLiteral("TRUE"),         QStringLiteral("#DIV/0!"),          QStringLiteral("Total commission paid"),
    QStringLiteral("x"),            QStringLiteral("  lead"),           QStringLiteral("a\u00A0b"),
    QStringLiteral("Åström Núñez"), QStringLiteral("(1,234.50) [ok]"), QStringLiteral("1/2/2024 10:45 PM"),
    QStringLiteral("AVATAR To Wa"), QStringLiteral("Tyrell's \"Yard\""), QStringLiteral("office"),
    QStringLiteral("Total"),
};

QImage blank() {
    QImage image(260, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The picture's way of drawing a cell's text: text kept inside by the caller.
QImage drawnByLayout(const QFont& font, const QRect& rect, int flags, const QString& text) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(20, 40, 160));
    painter.drawText(rect, flags | Qt::TextDontClip, text);
    return image;
}

QImage drawnByGlyphs(PlainTextFont& plain, const PlainLine& line, const QFont& font, const QRect& rect, int flags) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(20, 40, 160));
    const PlacedLine placed = plain.place(line, rect, flags);
    plain.draw(painter, line, placed.x, placed.baseline);
    return image;
}

class PlainText : public ::testing::Test {
protected:
    IsolatedEnvironment env;
};

TEST_F(PlainText, DrawsEveryLineExactlyAsTheTextLayoutDoes) {
    const int horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const int vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    std::vector<QFont> fonts = sheetFonts();
    // Others too: one with neither bold nor italic faces, made bold and slanted.
    fonts.push_back(screenFont("DejaVu Sans", 13));
    fonts.push_back(screenFont("DejaVu Math TeX Gyre", 14, true, true));
    int compared = 0;
    // Texts shaped whole, and put together from shaped pairs as a font does once it
    // has shaped many.
    for (const std::size_t shapedWholeFirst : {PlainTextFont::kTextsShapedWholeFirst, std::size_t{0}}) {
        for (const QFont& font : fonts) {
            PlainTextFont plain(font, shapedWholeFirst);
            const QFontMetricsF metrics(font);
            for (const QString& text : kTexts) {
                PlainLine line;
                if (!plain.layOut(text, line)) continue;
                SCOPED_TRACE(font.family().toStdString() + " " + std::to_string(font.pixelSize()) + " \"" +
                             text.toStdString() + "\" shaped whole first: " + std::to_string(shapedWholeFirst));
                EXPECT_EQ(line.advance / 64.0, metrics.horizontalAdvance(text));
                // Widths around the text's own, down to one that makes it overflow.
                const int advance = static_cast<int>(std::ceil(line.advance / 64.0));
                const int natural = static_cast<int>(std::ceil(line.natural / 64.0));
                for (const int width : {advance - 1, advance, natural, natural + 1, natural + 8}) {
                    for (const int height : {14, 15, 20, 41}) {
                        const QRect rect(5, 3, width, height);
                        for (const int h : horizontal)
                            for (const int v : vertical) {
                                for (const bool wrap : {false, true}) {
                                    if (wrap && !line.staysOneLine(width)) continue;
                                    const int flags = h | v | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
                                    SCOPED_TRACE("width " + std::to_string(width) + " height " + std::to_string(height) +
                                                 " flags " + std::to_string(flags));
                                    EXPECT_EQ(plain.place(line, rect, flags).bounds,
                                              metrics.boundingRect(QRectF(rect), flags, text));
                                    ASSERT_TRUE(drawnByGlyphs(plain, line, font, rect, flags) ==
                                                drawnByLayout(font, rect, flags, text));
                                    ++compared;
                                }
                            }
                    }
                }
            }
        }
    }
    // Numbers qualify in every font of the sheet, so most of these were compared.
    EXPECT_GT(compared, 6000);
}

TEST_F(PlainText, NumbersAndNamesQualifyInEveryFontWhateverTheirShaping) {
    for (const QFont& font : sheetFonts()) {
        PlainTextFont plain(font);
        PlainLine line;
        SCOPED_TRACE(font.family().toStdString());
        EXPECT_TRUE(plain.layOut(u"$1,037.00", line));
        EXPECT_EQ(line.glyphs.size(), 9u);
        EXPECT_TRUE(plain.layOut(u"1234567890", line));
        EXPECT_TRUE(plain.layOut(u"#####", line));
    }
    PlainTextFont gothic(screenFont("Century Gothic", 12));
    PlainTextFont arial(screenFont("Arial", 13));
    PlainLine line;
    EXPECT_TRUE(gothic.layOut(u"Salesperson 32767", line));
    // Kerned pairs sit closer than their advances.
    EXPECT_TRUE(arial.layOut(u"AV", line));
    EXPECT_LT(line.offsets[1], QFontMetricsF(screenFont("Arial", 13)).horizontalAdvance(u'A') * 64);
    // Kerning in context and ligatures come out as the layout shapes them.
    PlainTextFont garamond(screenFont("Garamond", 13, false, true));
    EXPECT_TRUE(garamond.layOut(u"Total", line));
    EXPECT_TRUE(gothic.layOut(u"office", line));
    EXPECT_EQ(line.glyphs.size(), 4u);  // "ffi" is one glyph
    // Texts shaped whole long ago, beyond those kept, are shaped again alike.
    ASSERT_TRUE(garamond.layOut(u"Total", line));
    const PlainLine first = line;
    for (int i = 0; i < 10000; ++i) ASSERT_TRUE(garamond.layOut(QStringLiteral("Total %1").arg(i), line));
    ASSERT_TRUE(garamond.layOut(u"Total", line));
    EXPECT_EQ(line.glyphs, first.glyphs);
    EXPECT_EQ(line.offsets, first.offsets);
}

TEST_F(PlainText, RefusesTextTheLayoutWouldChange) {
    PlainTextFont arial(screenFont("Arial", 13));
    PlainLine line;
    EXPECT_FALSE(arial.layOut(u"\u4E2D\u6587", line));             // glyphs the font lacks
    EXPECT_FALSE(arial.layOut(u"\u05E9\u05DC\u05D5\u05DD", line));  // right to left
    EXPECT_FALSE(arial.layOut(u"12 \u05D0", line));
    EXPECT_FALSE(arial.layOut(u"ok \U0001F600", line));            // an emoji beyond the BMP
    EXPECT_FALSE(arial.layOut(u"e\u0301", line));                  // a combining accent
    EXPECT_FALSE(arial.layOut(u"1\u20442", line));                 // a fraction
    EXPECT_FALSE(arial.layOut(u"a\tb", line));                     // control characters
    EXPECT_FALSE(arial.layOut(u"a\nb", line));
    EXPECT_FALSE(arial.layOut(u"a\u00ADb", line));                 // a soft hyphen
    EXPECT_FALSE(arial.layOut(u"trailing ", line));                // a trailing space
    EXPECT_FALSE(arial.layOut(u"", line));
    // Refusing one text leaves the next unaffected, and a refusal holds when asked again.
    EXPECT_TRUE(arial.layOut(u"123", line));
    EXPECT_EQ(line.glyphs.size(), 3u);
    EXPECT_FALSE(arial.layOut(u"trailing ", line));
}

TEST_F(PlainText, TheLastGlyphsInkBeyondItsAdvanceCountsInTheNaturalWidth) {
    // Italic glyphs lean past their advance; the layout widens the line by that ink.
    const QFont italic = screenFont("Arial", 13, false, true);
    PlainTextFont plain(italic);
    PlainLine line;
    ASSERT_TRUE(plain.layOut(u"1(", line));
    const QFontMetricsF metrics(italic);
    EXPECT_GT(line.natural, line.advance);
    EXPECT_EQ(line.natural / 64.0 - line.advance / 64.0, -metrics.rightBearing(u'('));
    EXPECT_GE(line.overhang, line.natural - line.advance);
}

}  // namespace
