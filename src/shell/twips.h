#pragma once

#include <QRect>

// Window geometry is designed in twips: 1/1440 inch, 15 to a pixel at 96 dots per inch.
namespace shell {

inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel (15 is odd, so there is never a tie).
constexpr int twipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A rectangle given in twips, in pixels.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

}  // namespace shell
