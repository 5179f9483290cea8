#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHashFunctions>
#include <QRawFont>
#include <QRectF>
#include <QStringView>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;
struct hb_buffer_t;
struct hb_font_t;

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

// Plain text of one font shaped by HarfBuzz and drawn glyph by glyph, exactly where
// the text layout would put it: the layout shapes with the same HarfBuzz, the same
// font tables and the font's own advances, so for text it lays out as one run of
// the font the glyphs and positions come out alike. Only such text qualifies:
// characters of left-to-right Latin and common text that the font itself shows,
// none combining, control or fraction-building, no trailing space. The first texts
// are shaped whole; once a font has shaped `textsShapedWholeFirst` of them (a sheet
// of many different texts), text of glyphs that only pairs act on is put together
// from its pairs of characters, each shaped once, which costs the font one reading
// of its layout tables. Lines shaped whole (and refusals) are kept by text, up to a
// bound.
class PlainTextFont {
public:
    static constexpr std::size_t kTextsShapedWholeFirst = 64;

    explicit PlainTextFont(const QFont& font, std::size_t textsShapedWholeFirst = kTextsShapedWholeFirst);
    ~PlainTextFont();
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
        Fixed advance = 0;
        Fixed inkTop = 0;  // outline from the baseline, downwards
        Fixed inkBottom = 0;
        std::optional<Fixed> overhang;  // ink beyond the advance, never negative
        bool pairwise = false;  // placed by the glyph after it alone (see findPairwiseGlyphs)
    };
    // A character's glyph as shaped with the character after it.
    struct Pair {
        quint32 glyph = 0;
        Fixed advance = 0;
        Fixed offset = 0;
    };
    struct ShapingFont {
        void operator()(hb_font_t* font) const;
    };
    struct ShapingBuffer {
        void operator()(hb_buffer_t* buffer) const;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(QStringView text) const noexcept { return qHash(text); }
    };

    Glyph& glyph(quint32 index);
    std::optional<Fixed> overhang(quint32 index, QChar c);
    bool layoutKeepsAdvances();
    void findPairwiseGlyphs();
    bool layOutByPairs(QStringView text, bool latin, PlainLine& line);
    const std::optional<Pair>& pair(char16_t c, char16_t next, bool latin);
    void shapeRun(QStringView text, bool latin);
    bool shape(QStringView text, bool latin, PlainLine& line);
    bool append(PlainLine& line, quint32 index, Fixed advance, Fixed offset, std::optional<Fixed> overhang);

    QFontMetricsF m_metrics;
    QRawFont m_raw;  // the tables HarfBuzz reads: outlives m_shaper
    std::unique_ptr<hb_font_t, ShapingFont> m_shaper;  // none: nothing qualifies
    std::unique_ptr<hb_buffer_t, ShapingBuffer> m_buffer;
    bool m_kerning = true;
    const std::size_t m_textsShapedWholeFirst;
    std::size_t m_textsShapedWhole = 0;
    bool m_pairwiseGlyphsFound = false;
    Fixed m_ascent = 0;
    Fixed m_lineHeight = 0;  // ascent and descent
    std::vector<Glyph> m_glyphs;  // by glyph index
    // Characters shaped in pairs, by script, character and the one after it (0: none);
    // none for a pair that does not shape as a glyph each.
    std::unordered_map<quint64, std::optional<Pair>> m_pairs;
    // Texts shaped whole; none for a text that does not qualify.
    std::unordered_map<QString, std::optional<PlainLine>, TextHash, std::equal_to<>> m_lines;
};

// The plain text fonts of one picture, one for each distinct font.
class PlainTextFonts {
public:
    PlainTextFont& of(const QFont& font);

private:
    std::map<QString, std::unique_ptr<PlainTextFont>> m_fonts;  // by QFont::key()
};

}  // namespace engine::render
