#include "engine/render/plain_text.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>
#include <hb.h>
#include <limits>
#include <optional>

namespace engine::render {

namespace {

// A layout length as 1/64 pixels; none when it is not a whole number of them.
std::optional<Fixed> fixedOf(qreal value) {
    const qreal scaled = value * 64;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e9 || scaled != std::round(scaled)) return std::nullopt;
    return static_cast<Fixed>(scaled);
}

// Characters the layout shapes as one left-to-right run of Latin or common text,
// with nothing of their own: no combining or control characters, no right-to-left
// or numbers of right-to-left scripts, no separators of lines, no slashes that
// build fractions.
bool plainCharacter(char16_t c) {
    const QChar ch(c);
    if (ch.isSurrogate() || c == 0x2044 || c == 0x2215 || c == 0xFFFC) return false;
    switch (ch.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return false;
    default: break;
    }
    if (ch.script() != QChar::Script_Latin && ch.script() != QChar::Script_Common) return false;
    switch (ch.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirWS:
    case QChar::DirON: return true;
    default: return false;
    }
}

// The layout shapes a run of text this long at most: longer text it splits.
constexpr qsizetype kLongestRun = 4096;
// Shaped texts kept per font: enough for every cell a window shows at the smallest
// zoom, so that repainting shapes nothing again.
constexpr std::size_t kKeptLines = 8192;
// The overhang of a line with a glyph whose own is not known: wider than any cell.
constexpr Fixed kUnknownOverhang = std::numeric_limits<Fixed>::max() / 2;

// HarfBuzz reads the font's tables as Qt has loaded them.
hb_blob_t* fontTable(hb_face_t*, hb_tag_t tag, void* raw) {
    const char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), 0};
    auto* table = new QByteArray(static_cast<const QRawFont*>(raw)->fontTable(name));
    return hb_blob_create(table->constData(), static_cast<unsigned>(table->size()), HB_MEMORY_MODE_READONLY, table,
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

}  // namespace

void PlainTextFont::ShapingFont::operator()(hb_font_t* font) const { hb_font_destroy(font); }
void PlainTextFont::ShapingBuffer::operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }

PlainTextFont::PlainTextFont(const QFont& font)
    : m_metrics(font), m_raw(QRawFont::fromFont(font)), m_kerning(font.kerning()) {
    const std::optional<Fixed> ascent = fixedOf(m_metrics.ascent());
    const std::optional<Fixed> descent = fixedOf(m_metrics.descent());
    // Spacing and capitals change advances and glyphs beyond what is shaped here.
    const bool spaced = font.letterSpacing() != 0 || font.wordSpacing() != 0 ||
                        font.capitalization() != QFont::MixedCase;
    if (!m_raw.isValid() || !ascent || !descent || spaced) return;
    m_ascent = *ascent;
    m_lineHeight = *ascent + *descent;

    // As the layout sets HarfBuzz up: the font's tables and cmap, at its pixel size
    // in 1/64 pixel with y downwards, and the advances the layout takes.
    hb_face_t* face = hb_face_create_for_tables(fontTable, &m_raw, nullptr);
    m_glyphs.resize(hb_face_get_glyph_count(face));
    hb_font_t* tables = hb_font_create(face);
    hb_face_destroy(face);
    const int ppem = static_cast<int>(m_raw.pixelSize());
    hb_font_set_scale(tables, ppem * 64, -ppem * 64);
    hb_font_set_ppem(tables, ppem, ppem);
    m_shaper.reset(hb_font_create_sub_font(tables));
    hb_font_destroy(tables);
    hb_font_funcs_t* funcs = hb_font_funcs_create();
    hb_font_funcs_set_glyph_h_advances_func(
        funcs,
        [](hb_font_t*, void* self, unsigned count, const hb_codepoint_t* glyphs, unsigned glyphStride,
           hb_position_t* advances, unsigned advanceStride, void*) {
            for (unsigned i = 0; i < count; ++i) {
                *advances = static_cast<PlainTextFont*>(self)->glyph(*glyphs).advance;
                glyphs = reinterpret_cast<const hb_codepoint_t*>(reinterpret_cast<const char*>(glyphs) + glyphStride);
                advances = reinterpret_cast<hb_position_t*>(reinterpret_cast<char*>(advances) + advanceStride);
            }
        },
        nullptr, nullptr);
    hb_font_funcs_make_immutable(funcs);
    hb_font_set_funcs(m_shaper.get(), funcs, this, nullptr);
    hb_font_funcs_destroy(funcs);
    m_buffer.reset(hb_buffer_create());
    if (!layoutKeepsAdvances()) m_shaper.reset();
}

PlainTextFont::~PlainTextFont() = default;

// True when the layout gives a few characters measured alone the advances shaped
// here, one of them not a whole pixel: then it neither rounds advances nor measures
// them otherwise, for any glyph.
bool PlainTextFont::layoutKeepsAdvances() {
    bool fractional = false;
    PlainLine line;
    for (const char16_t* probe : {u"0", u"a", u"e", u"n"}) {
        if (!shape(probe, line)) continue;
        if (fixedOf(m_metrics.horizontalAdvance(QString::fromUtf16(probe))) != line.advance) return false;
        fractional = fractional || line.advance % 64 != 0;
    }
    return fractional;
}

bool PlainTextFont::layOut(QStringView text, PlainLine& line) {
    if (!m_shaper) return false;
    auto found = m_lines.find(text);
    if (found == m_lines.end()) {
        if (m_lines.size() >= kKeptLines) m_lines.clear();
        std::optional<PlainLine> shaped(std::in_place);
        if (!shape(text, *shaped)) shaped.reset();
        found = m_lines.emplace(text.toString(), std::move(shaped)).first;
    }
    if (!found->second) return false;
    line = *found->second;
    return true;
}

// Shapes text as the layout shapes it when it lays it out as one run of this font:
// left to right, as Latin when it holds a Latin letter (else as common text), with
// kerning as the font asks.
bool PlainTextFont::shape(QStringView text, PlainLine& line) {
    if (text.isEmpty() || text.size() > kLongestRun || QChar(text.back()).category() == QChar::Separator_Space)
        return false;
    bool latin = false;
    for (const QChar c : text) {
        if (!plainCharacter(c.unicode())) return false;
        latin = latin || c.script() == QChar::Script_Latin;
    }
    hb_buffer_t* buffer = m_buffer.get();
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), static_cast<int>(text.size()), 0,
                        static_cast<int>(text.size()));
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, latin ? HB_SCRIPT_LATIN : HB_SCRIPT_COMMON);
    hb_buffer_guess_segment_properties(buffer);
    const hb_feature_t kerning{HB_TAG('k', 'e', 'r', 'n'), m_kerning, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END};
    hb_shape(m_shaper.get(), buffer, &kerning, 1);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, nullptr);
    line.glyphs.resize(count);
    line.offsets.resize(count);
    line.overhang = line.inkTop = line.inkBottom = 0;
    std::optional<Fixed> overhang;
    Fixed x = 0;
    for (unsigned i = 0; i < count; ++i) {
        // A glyph the font lacks, or one raised or lowered, is the layout's to draw.
        if (infos[i].codepoint == 0 || positions[i].y_offset != 0) return false;
        const Glyph& g = glyph(infos[i].codepoint);
        line.glyphs[i] = infos[i].codepoint;
        line.offsets[i] = x + positions[i].x_offset;
        line.inkTop = std::min(line.inkTop, g.inkTop);
        line.inkBottom = std::max(line.inkBottom, g.inkBottom);
        x += positions[i].x_advance;
        // A glyph that stands for one character alone has that character's overhang;
        // one of a ligature or a glyph substituted has none known.
        const qsizetype cluster = infos[i].cluster;
        const qsizetype next = i + 1 < count ? qsizetype{infos[i + 1].cluster} : text.size();
        const bool alone = next == cluster + 1 && (i == 0 || infos[i - 1].cluster != infos[i].cluster);
        overhang = alone ? this->overhang(infos[i].codepoint, text[cluster]) : std::nullopt;
        line.overhang = overhang ? std::max(line.overhang, *overhang) : kUnknownOverhang;
    }
    // The line's natural width reaches as far as its last glyph's ink.
    if (!overhang) return false;
    line.advance = x;
    line.natural = x + *overhang;
    return true;
}

PlacedLine PlainTextFont::place(const PlainLine& line, const QRect& rect, int flags) const {
    // The layout's own arithmetic: offsets in real pixels, positions truncated to 1/64.
    const QRectF r(rect);
    const qreal height = m_lineHeight / 64.0;
    qreal yoff = 0;
    if (flags & Qt::AlignBottom) yoff = r.height() - height;
    else if (flags & Qt::AlignVCenter) yoff = (r.height() - height) / 2;
    const auto xoff = [&](Fixed width) {
        if (flags & Qt::AlignRight) return r.width() - width / 64.0;
        if (flags & Qt::AlignHCenter) return (r.width() - width / 64.0) / 2;
        return qreal(0);
    };
    PlacedLine placed;
    placed.x = static_cast<Fixed>((r.x() + xoff(line.advance)) * 64);
    placed.baseline = static_cast<Fixed>((r.y() + yoff) * 64) + m_ascent;
    placed.bounds = QRectF(r.x() + xoff(line.natural), r.y() + yoff, line.natural / 64.0, height);
    return placed;
}

void PlainTextFont::draw(QPainter& painter, const PlainLine& line, Fixed x, Fixed baseline) const {
    QList<QPointF> positions;
    positions.reserve(static_cast<qsizetype>(line.offsets.size()));
    const qreal y = baseline / 64.0;
    for (const Fixed offset : line.offsets) positions.append(QPointF((x + offset) / 64.0, y));
    QGlyphRun run;
    run.setRawFont(m_raw);
    run.setGlyphIndexes(QList<quint32>(line.glyphs.begin(), line.glyphs.end()));
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

PlainTextFont::Glyph& PlainTextFont::glyph(quint32 index) {
    if (index >= m_glyphs.size()) m_glyphs.resize(index + 1);
    Glyph& g = m_glyphs[index];
    if (g.known) return g;
    g.known = true;
    QPointF own;
    m_raw.advancesForGlyphIndexes(&index, &own, 1);
    g.advance = static_cast<Fixed>(std::lround(own.x() * 64));
    const QRectF outline = m_raw.boundingRect(index);
    g.inkTop = static_cast<Fixed>(std::floor(outline.top() * 64));
    g.inkBottom = static_cast<Fixed>(std::ceil(outline.bottom() * 64));
    return g;
}

// The ink of a glyph beyond its advance as the layout measures it, which it tells
// by character: none unless the glyph is the font's own for c.
std::optional<Fixed> PlainTextFont::overhang(quint32 index, QChar c) {
    Glyph& g = glyph(index);
    if (g.overhang) return g.overhang;
    hb_codepoint_t own = 0;
    if (!hb_font_get_nominal_glyph(m_shaper.get(), c.unicode(), &own) || own != index) return std::nullopt;
    const std::optional<Fixed> bearing = fixedOf(m_metrics.rightBearing(c));
    if (bearing) g.overhang = std::max(0, -*bearing);
    return g.overhang;
}

PlainTextFont& PlainTextFonts::of(const QFont& font) {
    std::unique_ptr<PlainTextFont>& slot = m_fonts[font.key()];
    if (!slot) slot = std::make_unique<PlainTextFont>(font);
    return *slot;
}

}  // namespace engine::render
