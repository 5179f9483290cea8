#include "engine/render/plain_text.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>
#include <hb-ot.h>
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

// True when the layout lays text out as one run of plain characters, as Latin
// (`latin`) when it holds a Latin letter, else as common text.
bool plainRun(QStringView text, bool& latin) {
    if (text.isEmpty() || text.size() > kLongestRun || QChar(text.back()).category() == QChar::Separator_Space)
        return false;
    for (const QChar c : text) {
        if (!plainCharacter(c.unicode())) return false;
        latin = latin || c.script() == QChar::Script_Latin;
    }
    return true;
}

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

// Empties a line, keeping its room.
void clear(PlainLine& line) {
    line.glyphs.clear();
    line.offsets.clear();
    line.advance = line.natural = line.overhang = line.inkTop = line.inkBottom = 0;
}

// A big-endian number of a font table; -1 beyond its end.
int u16(const QByteArray& t, qint64 at) {
    return at >= 0 && at + 2 <= t.size() ? (uchar(t[at]) << 8) | uchar(t[at + 1]) : -1;
}

// True when a lookup of a GSUB or GPOS table places glyphs pairwise (see
// findPairwiseGlyphs), or substitutes only ligatures: then the glyphs where its
// ligatures begin go into `acted`. False for any other lookup, or one not read.
bool actsOnlyAt(const QByteArray& t, bool positioning, unsigned lookup, hb_set_t* acted) {
    const qint64 at = u16(t, 8) + u16(t, u16(t, 8) + 2 + 2 * qint64{lookup});
    const int count = u16(t, at + 4);
    for (int i = 0; i < count; ++i) {
        qint64 subtable = at + u16(t, at + 6 + 2 * i);
        int type = u16(t, at);
        if (type == (positioning ? 9 : 7)) {  // an extension: its subtable lies further on
            type = u16(t, subtable + 2);
            subtable += (qint64{u16(t, subtable + 4)} << 16) + u16(t, subtable + 6);
        }
        if (positioning) {
            constexpr int kSingle = 1, kPair = 2, kMarkToBase = 4, kMarkToMark = 6;
            if (type == kPair ? u16(t, subtable + 6) != 0 : type != kSingle && (type < kMarkToBase || type > kMarkToMark))
                return false;
            continue;
        }
        constexpr int kLigature = 4;
        const qint64 coverage = subtable + u16(t, subtable + 2);
        const int format = u16(t, coverage);
        if (type != kLigature || (format != 1 && format != 2)) return false;
        for (int c = 0; c < u16(t, coverage + 2); ++c) {
            const qint64 item = coverage + 4 + (format == 1 ? 2 : 6) * qint64{c};
            if (u16(t, item) < 0 || u16(t, item + 2 * (format - 1)) < 0) return false;
            hb_set_add_range(acted, u16(t, item), u16(t, item + 2 * (format - 1)));
        }
    }
    return count >= 0;
}

}  // namespace

void PlainTextFont::ShapingFont::operator()(hb_font_t* font) const { hb_font_destroy(font); }
void PlainTextFont::ShapingBuffer::operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }

PlainTextFont::PlainTextFont(const QFont& font, std::size_t textsShapedWholeFirst)
    : m_metrics(font), m_raw(QRawFont::fromFont(font)), m_kerning(font.kerning()),
      m_textsShapedWholeFirst(textsShapedWholeFirst) {
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
        bool latin = false;
        if (!plainRun(probe, latin) || !shape(probe, latin, line)) continue;
        if (fixedOf(m_metrics.horizontalAdvance(QString::fromUtf16(probe))) != line.advance) return false;
        fractional = fractional || line.advance % 64 != 0;
    }
    return fractional;
}

// Glyphs whose place in a line depends on no glyph but the one after them: those
// that no substitution acts on, nor any positioning but of single glyphs, of pairs by
// the first glyph alone, and of marks (which plain text has none of). HarfBuzz tells
// which lookups the layout applies and which glyphs each acts on, the GSUB and GPOS
// tables the lookups' kinds and where a ligature begins (HarfBuzz counts all of its
// glyphs). The fractions' features are left out: they act only around a fraction
// slash, which plain text has none of.
void PlainTextFont::findPairwiseGlyphs() {
    for (const char* aat : {"morx", "mort", "kerx"})
        if (!m_raw.fontTable(aat).isEmpty()) return;
    if (m_raw.fontTable("kern").startsWith(QByteArray("\0\1", 2))) return;  // Apple's kerning, by states
    hb_face_t* face = hb_font_get_face(m_shaper.get());
    hb_set_t* lookups = hb_set_create();
    hb_set_t* acted = hb_set_create();
    const hb_feature_t features[] = {{HB_TAG('k', 'e', 'r', 'n'), m_kerning, 0, HB_FEATURE_GLOBAL_END},
                                     {HB_TAG('f', 'r', 'a', 'c'), 0, 0, HB_FEATURE_GLOBAL_END},
                                     {HB_TAG('n', 'u', 'm', 'r'), 0, 0, HB_FEATURE_GLOBAL_END},
                                     {HB_TAG('d', 'n', 'o', 'm'), 0, 0, HB_FEATURE_GLOBAL_END}};
    for (const hb_script_t script : {HB_SCRIPT_LATIN, HB_SCRIPT_COMMON}) {
        const hb_segment_properties_t run{HB_DIRECTION_LTR, script, hb_language_get_default(), nullptr, nullptr};
        hb_shape_plan_t* plan = hb_shape_plan_create_cached(face, &run, features, std::size(features), nullptr);
        for (const bool positioning : {false, true}) {
            const hb_tag_t tag = positioning ? HB_OT_TAG_GPOS : HB_OT_TAG_GSUB;
            const QByteArray table = m_raw.fontTable(positioning ? "GPOS" : "GSUB");
            hb_set_clear(lookups);
            hb_ot_shape_plan_collect_lookups(plan, tag, lookups);
            for (hb_codepoint_t l = HB_SET_VALUE_INVALID; hb_set_next(lookups, &l);)
                if (!actsOnlyAt(table, positioning, l, acted))
                    hb_ot_layout_lookup_collect_glyphs(face, tag, l, nullptr, acted, nullptr, nullptr);
        }
        hb_shape_plan_destroy(plan);
    }
    for (std::size_t g = 0; g < m_glyphs.size(); ++g) {
        const hb_ot_layout_glyph_class_t kind = hb_ot_layout_get_glyph_class(face, static_cast<hb_codepoint_t>(g));
        m_glyphs[g].pairwise = kind <= HB_OT_LAYOUT_GLYPH_CLASS_BASE_GLYPH && !hb_set_has(acted, g);
    }
    hb_set_destroy(acted);
    hb_set_destroy(lookups);
}

bool PlainTextFont::layOut(QStringView text, PlainLine& line) {
    bool latin = false;
    if (!m_shaper || !plainRun(text, latin)) return false;
    if (!m_pairwiseGlyphsFound && m_textsShapedWhole >= m_textsShapedWholeFirst) {
        findPairwiseGlyphs();
        m_pairwiseGlyphsFound = true;
    }
    if (m_pairwiseGlyphsFound && layOutByPairs(text, latin, line)) return true;
    auto found = m_lines.find(text);
    if (found == m_lines.end()) {
        ++m_textsShapedWhole;
        if (m_lines.size() >= kKeptLines) m_lines.clear();
        std::optional<PlainLine> shaped(std::in_place);
        if (!shape(text, latin, *shaped)) shaped.reset();
        found = m_lines.emplace(text.toString(), std::move(shaped)).first;
    }
    if (!found->second) return false;
    line = *found->second;
    return true;
}

// Lays text out glyph by glyph when every glyph of it is pairwise, each placed as
// shaped with the character after it.
bool PlainTextFont::layOutByPairs(QStringView text, bool latin, PlainLine& line) {
    clear(line);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<Pair>& p = pair(text[i].unicode(), i + 1 < text.size() ? text[i + 1].unicode() : 0, latin);
        if (!p || !glyph(p->glyph).pairwise) return false;
        if (!append(line, p->glyph, p->advance, p->offset, overhang(p->glyph, text[i])) && i + 1 == text.size())
            return false;
    }
    return true;
}

// The place of character c's glyph followed by `next` (0: at the end), shaped as the
// two alone; none when they do not shape as a glyph each.
const std::optional<PlainTextFont::Pair>& PlainTextFont::pair(char16_t c, char16_t next, bool latin) {
    const auto [found, added] = m_pairs.try_emplace(quint64{latin} << 32 | quint64{c} << 16 | next);
    if (!added) return found->second;
    const char16_t run[2] = {c, next};
    shapeRun(QStringView(run, next ? 2 : 1), latin);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(m_buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(m_buffer.get(), nullptr);
    if (count == (next ? 2u : 1u) && infos[count - 1].cluster == count - 1 && infos[0].codepoint != 0 &&
        positions[0].y_offset == 0)
        found->second = Pair{infos[0].codepoint, positions[0].x_advance, positions[0].x_offset};
    return found->second;
}

// Shapes a run into the buffer as the layout shapes it when it lays it out as one run
// of this font: left to right, as Latin or as common text, with kerning as the font asks.
void PlainTextFont::shapeRun(QStringView text, bool latin) {
    hb_buffer_t* buffer = m_buffer.get();
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), static_cast<int>(text.size()), 0,
                        static_cast<int>(text.size()));
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, latin ? HB_SCRIPT_LATIN : HB_SCRIPT_COMMON);
    hb_buffer_guess_segment_properties(buffer);
    const hb_feature_t kerning{HB_TAG('k', 'e', 'r', 'n'), m_kerning, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END};
    hb_shape(m_shaper.get(), buffer, &kerning, 1);
}

bool PlainTextFont::shape(QStringView text, bool latin, PlainLine& line) {
    shapeRun(text, latin);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(m_buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(m_buffer.get(), nullptr);
    clear(line);
    bool overhangKnown = false;
    for (unsigned i = 0; i < count; ++i) {
        // A glyph the font lacks, or one raised or lowered, is the layout's to draw.
        if (infos[i].codepoint == 0 || positions[i].y_offset != 0) return false;
        // A glyph that stands for one character alone has that character's overhang;
        // one of a ligature or a glyph substituted has none known.
        const qsizetype cluster = infos[i].cluster;
        const qsizetype next = i + 1 < count ? qsizetype{infos[i + 1].cluster} : text.size();
        const bool alone = next == cluster + 1 && (i == 0 || infos[i - 1].cluster != infos[i].cluster);
        overhangKnown = append(line, infos[i].codepoint, positions[i].x_advance, positions[i].x_offset,
                               alone ? overhang(infos[i].codepoint, text[cluster]) : std::nullopt);
    }
    return overhangKnown;  // the line's natural width reaches as far as its last glyph's ink
}

// Puts a glyph at the end of a line, `offset` beyond where the line advanced to;
// false when its overhang is not known.
bool PlainTextFont::append(PlainLine& line, quint32 index, Fixed advance, Fixed offset, std::optional<Fixed> overhang) {
    const Glyph& g = glyph(index);
    line.glyphs.push_back(index);
    line.offsets.push_back(line.advance + offset);
    line.inkTop = std::min(line.inkTop, g.inkTop);
    line.inkBottom = std::max(line.inkBottom, g.inkBottom);
    line.advance += advance;
    line.overhang = overhang ? std::max(line.overhang, *overhang) : kUnknownOverhang;
    line.natural = line.advance + overhang.value_or(0);
    return overhang.has_value();
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
