#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace engine::render {

// The rows (or columns) of a range that a picture shows, with their pixel positions.
// Hidden ones (no pixels) are left out. A picture cut short keeps the rows that fit
// and counts the rest as cut off.
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
    // Positions whose pixels meet [top, bottom): [begin, end), possibly empty.
    std::pair<int, int> positionsCovering(int top, int bottom) const;
    // The positions [begin, end) alone, at the same pixels.
    PictureAxis slice(int begin, int end) const;
    // The axis cut so that it is no longer than limit with a band of the given
    // thickness after it: every whole row that fits beside the band is kept. The
    // axis itself when it fits; `last` is the range's last sheet row.
    PictureAxis cutTo(int limit, int bandThickness, int last) const;
};

// Every row first..last, sized by pixelsOf.
PictureAxis layoutAxis(int first, int last, const std::function<int(int)>& pixelsOf);

}  // namespace engine::render
