#include "engine/render/picture_axis.h"

#include <algorithm>

namespace engine::render {

std::pair<int, int> PictureAxis::positionsOf(int first, int last) const {
    const auto begin = std::lower_bound(indices.begin(), indices.end(), first);
    const auto end = std::upper_bound(begin, indices.end(), last);
    return {static_cast<int>(begin - indices.begin()), static_cast<int>(end - indices.begin())};
}

PictureAxis layoutAxis(int first, int last, const std::function<int(int)>& pixelsOf, int limit,
                       int bandThickness) {
    // Sizes are looked up only as far as the limit: past it the range is cut anyway,
    // and what is cut is counted without its sizes.
    std::vector<int> pixels;
    long long total = 0;
    for (int i = first; i <= last && total <= limit; ++i) {
        pixels.push_back(pixelsOf(i));
        total += pixels.back();
    }
    const long long budget = total <= limit ? limit : limit - bandThickness;

    PictureAxis axis;
    axis.starts.push_back(0);
    for (int i = first; i <= last; ++i) {
        // Past the sizes looked up the budget is spent: the total there exceeds the limit.
        const int px = pixels[static_cast<std::size_t>(i - first)];
        if (axis.starts.back() + px > budget) {
            axis.cutOff = last - i + 1;
            break;
        }
        if (px == 0) continue;
        axis.indices.push_back(i);
        axis.starts.push_back(axis.starts.back() + px);
    }
    return axis;
}

}  // namespace engine::render
