#pragma once

// Screen sizes of the sheet's columns, rows and fonts at 96 dots per inch, as a
// spreadsheet application computes them.
namespace engine::render {

inline constexpr int kScreenDpi = 96;
// Widest digit of the standard font (Arial 10) in pixels at 96 dpi.
inline constexpr int kMaxDigitWidth = 7;

// A width in characters of the standard font as pixels: the characters plus 5 pixels
// of margin and gridline, snapped as the file format stores widths (8.43 gives 64,
// 28 gives 201, 3.71 gives 31). Below one character the width scales down to zero.
int columnWidthPixels(double characters);

// A height in points as pixels (12.75 gives 17).
int rowHeightPixels(double points);

// A font size in points as the pixel height a screen font gets (10 gives 13).
int fontPixelSize(double points);

}  // namespace engine::render
