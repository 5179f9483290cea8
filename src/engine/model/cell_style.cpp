#include "engine/model/cell_style.h"

#include <QHash>

namespace engine {

namespace {

void mix(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

std::size_t hashStyle(const CellStyle& s) {
    std::size_t h = qHash(s.font.name);
    mix(h, std::hash<double>{}(s.font.size));
    mix(h, (s.font.bold ? 1u : 0u) | (s.font.italic ? 2u : 0u));
    mix(h, static_cast<std::size_t>(s.font.colorIndex));
    mix(h, static_cast<std::size_t>(s.fillColorIndex));
    for (const Border& b : s.borders) {
        mix(h, static_cast<std::size_t>(b.line));
        mix(h, static_cast<std::size_t>(b.colorIndex));
    }
    mix(h, static_cast<std::size_t>(s.hAlign));
    mix(h, static_cast<std::size_t>(s.vAlign));
    mix(h, s.wrap ? 1u : 0u);
    mix(h, qHash(s.numberFormat));
    return h;
}

}  // namespace engine
