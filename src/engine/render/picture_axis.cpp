#include "engine/render/picture_axis.h"

#include <algorithm>

namespace engine::render {

std::pair<int, int> PictureAxis::positionsOf(int first, int last) const {
    const auto begin = std::lower_bound(indices.begin(), indices.end(), first);
    const auto end = std::upper_bound(begin, indices.end(), last);
    return {static_cast<int>(begin - indices.begin()), static_cast<int>(end - indices.begin())};
}

std::pair<int, int> PictureAxis::positionsCovering(int top, int bottom) const {
    if (top >= bottom || indices.empty()) return {0, 0};
    // The first whose end lies below top, up to the first that starts at bottom or below.
    const auto ends = starts.begin() + 1;
    const int begin = static_cast<int>(std::upper_bound(ends, starts.end(), top) - ends);
    const int end = static_cast<int>(std::lower_bound(starts.begin(), starts.end() - 1, bottom) - starts.begin());
    return {begin, std::max(begin, end)};
}

PictureAxis PictureAxis::slice(int begin, int end) const {
    PictureAxis part;
    part.indices.assign(indices.begin() + begin, indices.begin() + end);
    part.starts.assign(starts.begin() + begin, starts.begin() + end + 1);
    return part;
}

PictureAxis PictureAxis::cutTo(int limit, int bandThickness, int last) const {
    if (extent() <= limit) return *this;
    const int budget = limit - bandThickness;
    // The first row that would end beyond the budget, and everything after it, goes.
    const int kept = static_cast<int>(std::upper_bound(starts.begin() + 1, starts.end(), budget) - starts.begin()) - 1;
    PictureAxis cut = slice(0, kept);
    cut.cutOff = last - indices[static_cast<std::size_t>(kept)] + 1;
    return cut;
}

PictureAxis layoutAxis(int first, int last, const std::function<int(int)>& pixelsOf) {
    PictureAxis axis;
    axis.starts.push_back(0);
    for (int i = first; i <= last; ++i) {
        const int px = pixelsOf(i);
        if (px <= 0) continue;
        axis.indices.push_back(i);
        axis.starts.push_back(axis.starts.back() + px);
    }
    return axis;
}

}  // namespace engine::render
