#pragma once

#include "engine/render/font_lookups.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <QRectF>
#include <QStringView>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;

namespace engine::render {

// Lengths in 1/64 pixel, as the text layout measures them.
using Fixed = int;

// One line of text as glyphs of one font, each at its own advance from the last.
struct PlainLine {
    std::vector<quint32> glyphs;
    std::vector<Fixed> offsets;  // of each glyph from the line's start
    Fixed advance = 0;           // the sum of the advances
    Fixed natural = 0;           // advance and the last glyph's ink beyond it
    Fixed overhang = 0;          // the most ink any glyph has beyond its advance
    Fixed inkTop = 0;            // the glyphs' outlines from the baseline, downwards
    Fixed inkBottom = 0;

    // True when word wrapping at the given width keeps the text on this one line.
    bool staysOneLine(int width) const { return advance + overhang <= Fixed{width} * 64; }
};

// Where a line goes in a rectangle, as QPainter::drawText(rect, flags, text) puts it.
struct PlacedLine {
    Fixed x = 0;         // origin of the first glyph
    Fixed baseline = 0;
    QRectF bounds;       // as QFontMetricsF::boundingRect(rect, flags, text) gives it
};

// Plain text of one font laid out and drawn glyph by glyph, without a shaping
// engine, exactly where the text layout would put it. Only text that the layout
// would not change qualifies: characters of left-to-right scripts that the font
// itself shows, none combining, control or fraction-building, no substitution or
// kerning other than by pairs alone, no trailing space. The font's glyph indexes
// and advances are kept per character once looked up, the kerning of a pair once
// measured by the layout.
class PlainTextFont {
public:
    explicit PlainTextFont(const QFont& font);
    PlainTextFont(const PlainTextFont&) = delete;
    PlainTextFont& operator=(const PlainTextFont&) = delete;

    // Lays text out on one line; false (line left in any state) when text does not
    // qualify.
    bool layOut(QStringView text, PlainLine& line);
    // Places a line that stays on one line by its alignment flags in rect.
    PlacedLine place(const PlainLine& line, const QRect& rect, int flags) const;
    // Draws a line with the origin of its first glyph at (x, baseline), with the
    // painter's pen.
    void draw(QPainter& painter, const PlainLine& line, Fixed x, Fixed baseline) const;

private:
    struct Glyph {
        bool known = false;
        bool plain = false;
        quint32 index = 0;
        Fixed advance = 0;
        Fixed overhang = 0;  // ink beyond the advance, never negative
        Fixed inkTop = 0;    // outline from the baseline, downwards
        Fixed inkBottom = 0;
    };

    const Glyph& glyphFor(char16_t c);
    Glyph lookUp(char16_t c) const;
    // The kerning between two characters' glyphs; none when it depends on more.
    std::optional<Fixed> kerning(char16_t first, const Glyph& a, char16_t second, const Glyph& b);

    bool layoutKeepsAdvances();

    QFontMetricsF m_metrics;
    QRawFont m_raw;
    FontLookups m_lookups;
    bool m_advancesKept = false;  // the layout uses the font's own advances
    Fixed m_ascent = 0;
    Fixed m_lineHeight = 0;  // ascent and descent
    std::array<Glyph, 0x250> m_latin;  // Basic Latin to Latin Extended-B
    std::unordered_map<char16_t, Glyph> m_others;
    std::unordered_map<quint32, std::optional<Fixed>> m_kerning;  // by first << 16 | second glyph
};

// The plain text fonts of one picture, one for each distinct font.
class PlainTextFonts {
public:
    PlainTextFont& of(const QFont& font);

private:
    std::map<QString, std::unique_ptr<PlainTextFont>> m_fonts;  // by QFont::key()
};

}  // namespace engine::render
