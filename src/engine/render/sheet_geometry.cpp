#include "engine/render/sheet_geometry.h"

#include <algorithm>
#include <cmath>

namespace engine::render {

namespace {
// The largest sizes a sheet can hold; anything beyond is taken as these.
constexpr double kMaxColumnCharacters = 255;
constexpr double kMaxRowPoints = 409.5;
constexpr double kMaxFontPoints = 409;
}  // namespace

int columnWidthPixels(double characters) {
    if (!(characters > 0)) return 0;
    characters = std::min(characters, kMaxColumnCharacters);
    constexpr double mdw = kMaxDigitWidth;
    constexpr int padding = 5;
    if (characters < 1) return static_cast<int>(std::lround(characters * (mdw + padding)));
    // The width as stored in a file (in 1/256 of a character, padding included), then
    // back to whole pixels.
    const double stored = std::trunc((characters * mdw + padding) / mdw * 256) / 256;
    return static_cast<int>(std::trunc((256 * stored + std::trunc(128 / mdw)) / 256 * mdw));
}

int rowHeightPixels(double points) {
    if (!(points > 0)) return 0;
    points = std::min(points, kMaxRowPoints);
    return static_cast<int>(std::lround(points * kScreenDpi / 72));
}

int fontPixelSize(double points) {
    points = std::clamp(points, 1.0, kMaxFontPoints);
    return static_cast<int>(std::lround(points * kScreenDpi / 72));
}

}  // namespace engine::render
