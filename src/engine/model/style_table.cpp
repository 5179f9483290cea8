#include "engine/model/style_table.h"

namespace engine {

StyleTable::StyleTable() {
    intern(CellStyle{});  // id 0: the default style
}

StyleId StyleTable::intern(const CellStyle& style) {
    const std::size_t h = hashStyle(style);
    auto [first, last] = m_index.equal_range(h);
    for (auto it = first; it != last; ++it) {
        if (m_styles[it->second] == style) return it->second;
    }
    const auto id = static_cast<StyleId>(m_styles.size());
    m_styles.push_back(style);
    m_index.emplace(h, id);
    return id;
}

}  // namespace engine
