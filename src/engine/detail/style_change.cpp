#include "engine/detail/style_change.h"

#include <bit>

namespace engine::detail {

void StyleChange::applyTo(CellStyle& style) const {
    switch (kind) {
    case Kind::FontName: style.font.name = text; break;
    case Kind::FontBold: style.font.bold = number != 0; break;
    case Kind::FontItalic: style.font.italic = number != 0; break;
    case Kind::FontBoldItalic:
        style.font.bold = (number & 1) != 0;
        style.font.italic = (number & 2) != 0;
        break;
    case Kind::FontSize: style.font.size = size; break;
    case Kind::FontColor: style.font.colorIndex = number; break;
    case Kind::Fill: style.fillColorIndex = number; break;
    case Kind::HorizontalAlignment: style.hAlign = static_cast<HorizontalAlignment>(number); break;
    case Kind::VerticalAlignment: style.vAlign = static_cast<VerticalAlignment>(number); break;
    case Kind::Wrap: style.wrap = number != 0; break;
    case Kind::NumberFormat: style.numberFormat = text; break;
    case Kind::BorderContinuous:
        if (style.border(side).line == BorderLine::None) style.border(side).line = BorderLine::Thin;
        break;
    case Kind::BorderNone: style.border(side) = Border{}; break;
    case Kind::BorderWeight: style.border(side).line = static_cast<BorderLine>(number); break;
    case Kind::BorderColor:
        if (style.border(side).line == BorderLine::None) style.border(side).line = BorderLine::Thin;
        style.border(side).colorIndex = number;
        break;
    }
}

std::size_t StyleChanger::KeyHash::operator()(const Key& k) const {
    std::size_t h = k.from;
    h = h * 0x100000001b3ULL ^ (std::size_t(k.kind) << 8 | k.side);
    h = h * 0x100000001b3ULL ^ static_cast<std::size_t>(k.number);
    h = h * 0x100000001b3ULL ^ k.sizeBits;
    h = h * 0x100000001b3ULL ^ k.textHash;
    return h ^ (h >> 29);
}

namespace {

// A quick fingerprint of a text: its length and a few of its characters. Texts
// that share one only cost a comparison more.
std::size_t fingerprint(const QString& text) {
    const auto n = static_cast<std::size_t>(text.size());
    if (n == 0) return 0;
    const QChar* d = text.constData();
    return n * 0x9E3779B1u ^ (std::size_t(d[0].unicode()) << 16) ^ (std::size_t(d[n / 2].unicode()) << 32) ^
           (std::size_t(d[n - 1].unicode()) << 48);
}

}  // namespace

// Texts are keyed by their fingerprint; a hit is confirmed against the text itself.
bool StyleChanger::resultMatches(StyleId result, const StyleChange& change) const {
    // Texts passed on from one shared constant share their characters too.
    auto same = [](const QString& a, const QString& b) {
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    };
    const CellStyle& s = m_table->style(result);
    switch (change.kind) {
    case StyleChange::Kind::FontName: return same(s.font.name, change.text);
    case StyleChange::Kind::NumberFormat: return same(s.numberFormat, change.text);
    default: return true;
    }
}

StyleId StyleChanger::apply(StyleId from, const StyleChange& change) {
    const Key key{from,
                  static_cast<std::uint8_t>(change.kind),
                  static_cast<std::uint8_t>(change.side),
                  change.number,
                  std::bit_cast<std::uint64_t>(change.size),
                  fingerprint(change.text)};
    const std::size_t hash = KeyHash{}(key);
    Recent& recent = m_recent[hash % m_recent.size()];
    if (recent.used && recent.key == key && resultMatches(recent.result, change)) return recent.result;
    StyleId result;
    if (auto it = m_cache.find(key); it != m_cache.end() && resultMatches(it->second, change)) {
        result = it->second;
    } else {
        CellStyle style = m_table->style(from);
        change.applyTo(style);
        result = m_table->intern(style);
        m_cache[key] = result;
    }
    recent = Recent{key, result, true};
    return result;
}

}  // namespace engine::detail
