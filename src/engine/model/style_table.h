#pragma once

#include "engine/model/cell_style.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace engine {

using StyleId = std::uint32_t;
inline constexpr StyleId kDefaultStyleId = 0;

// Interned cell styles: equal styles share one id, so formats stay few however many
// cells carry them (and map directly onto the file's cell formats).
class StyleTable {
public:
    StyleTable();
    StyleId intern(const CellStyle& style);
    const CellStyle& style(StyleId id) const { return m_styles.at(id); }
    std::size_t size() const { return m_styles.size(); }
    const std::vector<CellStyle>& all() const { return m_styles; }

private:
    std::vector<CellStyle> m_styles;
    std::unordered_multimap<std::size_t, StyleId> m_index;
};

}  // namespace engine
