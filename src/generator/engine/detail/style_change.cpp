#include "generator/engine/detail/style_change.h"

#include <QHash>
#include <bit>

namespace engine::detail {

void StyleChange::applyTo(CellStyle& style) const {
    switch (kind) {
    case Kind::FontName: style.font.name = text; break;
    case Kind::FontBold: style.font.bold = number != 0; break;
    case Kind::FontItalic: style.font.italic = number != 0; break;
    case Kind::FontSize: style.font.size = size; break;
    case Kind::FontColor: style.font.colorIndex = number; break;
    case Kind::Fill: style.fillColorIndex = number; break;
    case Kind::HAlign: style.hAlign = static_cast<HAlign>(number); break;
    case Kind::VAlign: style.vAlign = static_cast<VAlign>(number); break;
    case Kind::Wrap: style.wrap = number != 0; break;
    case Kind::NumberFormat: style.numberFormat = text; break;
    case Kind::BorderContinuous:
        if (style.border(edge).line == BorderLine::None) style.border(edge).line = BorderLine::Thin;
        break;
    case Kind::BorderNone: style.border(edge) = Border{}; break;
    case Kind::BorderWeight: style.border(edge).line = static_cast<BorderLine>(number); break;
    case Kind::BorderColor:
        if (style.border(edge).line == BorderLine::None) style.border(edge).line = BorderLine::Thin;
        style.border(edge).colorIndex = number;
        break;
    }
}

std::size_t StyleChanger::KeyHash::operator()(const Key& k) const {
    std::size_t h = k.from;
    h = h * 0x100000001b3ULL ^ (std::size_t(k.kind) << 8 | k.edge);
    h = h * 0x100000001b3ULL ^ static_cast<std::size_t>(k.number);
    h = h * 0x100000001b3ULL ^ k.sizeBits;
    h = h * 0x100000001b3ULL ^ k.textHash;
    return h ^ (h >> 29);
}

// Texts are keyed by their hash; a hit is confirmed against the text itself.
bool StyleChanger::resultMatches(StyleId result, const StyleChange& change) const {
    const CellStyle& s = m_table->style(result);
    switch (change.kind) {
    case StyleChange::Kind::FontName: return s.font.name == change.text;
    case StyleChange::Kind::NumberFormat: return s.numberFormat == change.text;
    default: return true;
    }
}

StyleId StyleChanger::apply(StyleId from, const StyleChange& change) {
    const Key key{from,
                  static_cast<std::uint8_t>(change.kind),
                  static_cast<std::uint8_t>(change.edge),
                  change.number,
                  std::bit_cast<std::uint64_t>(change.size),
                  change.text.isEmpty() ? 0 : qHash(change.text)};
    if (auto it = m_cache.find(key); it != m_cache.end() && resultMatches(it->second, change))
        return it->second;
    CellStyle style = m_table->style(from);
    change.applyTo(style);
    const StyleId result = m_table->intern(style);
    m_cache[key] = result;
    return result;
}

}  // namespace engine::detail
