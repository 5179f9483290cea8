#include "engine/detail/style_change.h"

#include <algorithm>

namespace engine::detail {

void StyleChange::applyTo(CellStyle& style) const {
    switch (kind) {
    case Kind::FontName: style.font.name = *text; break;
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
    case Kind::NumberFormat: style.numberFormat = *text; break;
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

std::uint32_t StyleChanger::textNumber(const QString& text, std::size_t slot) {
    std::uint32_t& lastText = m_lastText[slot];
    if (lastText < m_texts.size() && m_texts[lastText] == text) return lastText;
    auto it = m_textNumbers.constFind(text);
    if (it == m_textNumbers.constEnd()) {
        if (m_texts.size() >= (1u << kArgumentBits)) return kNoArgument;
        it = m_textNumbers.insert(text, static_cast<std::uint32_t>(m_texts.size()));
        m_texts.push_back(text);
    }
    lastText = it.value();
    return lastText;
}

std::uint32_t StyleChanger::sizeNumber(double size) {
    auto it = std::find(m_sizes.begin(), m_sizes.end(), size);
    if (it == m_sizes.end()) {
        // Sizes come from a short list; a long one is not worth searching.
        if (m_sizes.size() >= 64) return kNoArgument;
        it = m_sizes.insert(m_sizes.end(), size);
    }
    m_lastSize = static_cast<std::uint32_t>(it - m_sizes.begin());
    return m_lastSize;
}

void StyleChanger::remember(std::uint64_t key, StyleId result) {
    if (2 * (m_used + 1) > m_slots.size()) {
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_slots.size()));
        old.swap(m_slots);
        m_used = 0;
        for (const Slot& s : old)
            if (s.key != kNoKey) remember(s.key, s.result);
    }
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = slotOf(key, mask);
    while (m_slots[at].key != kNoKey) at = (at + 1) & mask;
    m_slots[at] = Slot{key, result};
    ++m_used;
}

StyleId StyleChanger::applyNew(StyleId from, const StyleChange& change, std::uint64_t key) {
    CellStyle style = m_table->style(from);
    change.applyTo(style);
    const StyleId result = m_table->intern(style);
    if (key != kNoKey) remember(key, result);
    return result;
}

}  // namespace engine::detail
