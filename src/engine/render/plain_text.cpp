#include "engine/render/plain_text.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>
#include <optional>

namespace engine::render {

namespace {

// A layout length as 1/64 pixels; none when it is not a whole number of them.
std::optional<Fixed> fixedOf(qreal value) {
    const qreal scaled = value * 64;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e9 || scaled != std::round(scaled)) return std::nullopt;
    return static_cast<Fixed>(scaled);
}

// Characters the layout lays out left to right, one glyph each, with nothing of
// their own: no combining or control characters, no right-to-left or numbers of
// right-to-left scripts, no separators of lines, no slashes that build fractions.
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

}  // namespace

PlainTextFont::PlainTextFont(const QFont& font)
    : m_metrics(font), m_raw(QRawFont::fromFont(font)), m_lookups(m_raw) {
    const std::optional<Fixed> ascent = fixedOf(m_metrics.ascent());
    const std::optional<Fixed> descent = fixedOf(m_metrics.descent());
    // Spacing and capitals change advances and glyphs beyond what is looked up here.
    const bool spaced = font.letterSpacing() != 0 || font.wordSpacing() != 0 ||
                        font.capitalization() != QFont::MixedCase;
    if (!ascent || !descent || spaced) {
        m_raw = QRawFont();  // nothing qualifies
        return;
    }
    m_ascent = *ascent;
    m_lineHeight = *ascent + *descent;
    m_advancesKept = layoutKeepsAdvances();
}

// True when the layout gives a few characters measured alone the font's own
// advances, one of them not a whole pixel: then it neither rounds advances nor
// measures them otherwise, for any glyph. False leaves each character to be checked.
bool PlainTextFont::layoutKeepsAdvances() {
    bool fractional = false;
    for (const char16_t c : u"0aen") {
        if (c == 0) break;
        const QChar ch(c);
        quint32 glyph = 0;
        int count = 1;
        QPointF own;
        if (!m_raw.glyphIndexesForChars(&ch, 1, &glyph, &count) || glyph == 0 || m_lookups.touches(glyph) ||
            !m_raw.advancesForGlyphIndexes(&glyph, &own, 1))
            continue;
        const std::optional<Fixed> laidOut = fixedOf(m_metrics.horizontalAdvance(QString(ch)));
        const std::optional<Fixed> rawAdvance = fixedOf(own.x());
        if (!laidOut || !rawAdvance || *laidOut != *rawAdvance) return false;
        fractional = fractional || (*rawAdvance % 64 != 0);
    }
    return fractional;
}

bool PlainTextFont::layOut(QStringView text, PlainLine& line) {
    if (!m_raw.isValid() || !m_lookups.readable() || text.isEmpty()) return false;
    if (QChar(text.back()).category() == QChar::Separator_Space) return false;
    const std::size_t n = static_cast<std::size_t>(text.size());
    line.glyphs.resize(n);
    line.offsets.resize(n);
    Fixed x = 0;
    Fixed overhang = 0;
    Fixed inkTop = 0, inkBottom = 0;
    const Glyph* previous = nullptr;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[static_cast<qsizetype>(i)].unicode();
        const Glyph& g = glyphFor(c);
        if (!g.plain) return false;
        if (previous) {
            const std::optional<Fixed> kern = kerning(text[static_cast<qsizetype>(i) - 1].unicode(), *previous, c, g);
            if (!kern) return false;
            x += *kern;
        }
        line.glyphs[i] = g.index;
        line.offsets[i] = x;
        x += g.advance;
        overhang = std::max(overhang, g.overhang);
        inkTop = std::min(inkTop, g.inkTop);
        inkBottom = std::max(inkBottom, g.inkBottom);
        previous = &g;
    }
    line.advance = x;
    line.natural = x + glyphFor(text.back().unicode()).overhang;
    line.overhang = overhang;
    line.inkTop = inkTop;
    line.inkBottom = inkBottom;
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

const PlainTextFont::Glyph& PlainTextFont::glyphFor(char16_t c) {
    Glyph& g = c < m_latin.size() ? m_latin[c] : m_others[c];
    if (!g.known) g = lookUp(c);
    return g;
}

PlainTextFont::Glyph PlainTextFont::lookUp(char16_t c) const {
    Glyph g;
    g.known = true;
    if (!plainCharacter(c)) return g;
    const QChar ch(c);
    int count = 1;
    if (!m_raw.glyphIndexesForChars(&ch, 1, &g.index, &count) || count != 1 || g.index == 0) return g;
    if (m_lookups.touches(g.index)) return g;
    QPointF own;
    if (!m_raw.advancesForGlyphIndexes(&g.index, &own, 1)) return g;
    const std::optional<Fixed> advance = fixedOf(own.x());
    const std::optional<Fixed> bearing = fixedOf(m_metrics.rightBearing(ch));
    if (!advance || !bearing || own.y() != 0) return g;
    // Unless the font showed that the layout keeps its advances, the advance as the
    // layout measures the character alone must be the font's own.
    if (!m_advancesKept && fixedOf(m_metrics.horizontalAdvance(QString(ch))) != advance) return g;
    g.advance = *advance;
    g.overhang = std::max(0, -*bearing);
    const QRectF outline = m_raw.boundingRect(g.index);
    g.inkTop = static_cast<Fixed>(std::floor(outline.top() * 64));
    g.inkBottom = static_cast<Fixed>(std::ceil(outline.bottom() * 64));
    g.plain = true;
    return g;
}

std::optional<Fixed> PlainTextFont::kerning(char16_t first, const Glyph& a, char16_t second, const Glyph& b) {
    const quint32 key = (a.index << 16) | b.index;
    const auto found = m_kerning.find(key);
    if (found != m_kerning.end()) return found->second;
    std::optional<Fixed> kern;
    switch (m_lookups.kerning(a.index, b.index)) {
    case FontLookups::Kerning::None: kern = 0; break;
    case FontLookups::Kerning::PairOnly: {
        // Kerning by pairs changes the first glyph's advance alone: the layout's
        // width of the pair tells by how much.
        const QChar pair[2] = {QChar(first), QChar(second)};
        const std::optional<Fixed> width = fixedOf(m_metrics.horizontalAdvance(QString(pair, 2)));
        if (width) kern = *width - a.advance - b.advance;
        break;
    }
    case FontLookups::Kerning::Contextual: break;
    }
    m_kerning.emplace(key, kern);
    return kern;
}

PlainTextFont& PlainTextFonts::of(const QFont& font) {
    std::unique_ptr<PlainTextFont>& slot = m_fonts[font.key()];
    if (!slot) slot = std::make_unique<PlainTextFont>(font);
    return *slot;
}

}  // namespace engine::render
