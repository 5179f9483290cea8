#pragma once

#include <functional>
#include <vector>

namespace engine::render {

// The rows (or columns) of a range that a picture shows, with their pixel positions.
// Hidden ones (no pixels) are left out. When the whole range is longer than the
// limit, the picture keeps every whole row that fits together with a band of the
// given thickness, and the rest are counted as cut off.
struct PictureAxis {
    std::vector<int> indices;  // sheet rows (columns) shown, ascending
    std::vector<int> starts;   // pixel start of each, and one more entry: the end
    int cutOff = 0;            // rows (columns) of the range after the last one shown

    int extent() const { return starts.back(); }
    int count() const { return static_cast<int>(indices.size()); }
    int start(int position) const { return starts[position]; }
    int end(int position) const { return starts[position + 1]; }
    // Positions shown of the sheet rows first..last: [begin, end), possibly empty.
    std::pair<int, int> positionsOf(int first, int last) const;
};

PictureAxis layoutAxis(int first, int last, const std::function<int(int)>& pixelsOf, int limit,
                       int bandThickness);

}  // namespace engine::render
