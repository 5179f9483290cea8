#include "generator/range_formatting.h"

namespace generator {

void setBorders(const engine::Range& range, BorderSides sides, engine::BorderWeight weight, int colorIndex) {
    const std::pair<bool, engine::BorderEdge> edges[] = {
        {sides.left, engine::BorderEdge::Left},     {sides.top, engine::BorderEdge::Top},
        {sides.bottom, engine::BorderEdge::Bottom}, {sides.right, engine::BorderEdge::Right},
        {sides.insideVertical, engine::BorderEdge::InsideVertical},
    };
    for (const auto& [drawn, edge] : edges) {
        if (!drawn) continue;
        const engine::RangeBorder border = range.Borders(edge);
        border.SetLineStyle(engine::LineStyle::Continuous);
        border.SetWeight(weight);
        border.SetColorIndex(colorIndex);
    }
}

void setFont(const engine::Range& range, const FontChange& font) {
    const engine::Font target = range.Font();
    target.SetName(font.name);
    target.SetSize(font.size);
    target.SetBold(font.bold);
    target.SetColorIndex(font.colorIndex);
}

}  // namespace generator
