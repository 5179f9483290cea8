#pragma once

#include "engine/model/sheet.h"

#include <QImage>

namespace engine::render {

// Neither side of a picture is longer than this many pixels.
inline constexpr int kMaxPictureExtent = 22339;
// Thickness of the band that tells of rows or columns left out of a picture.
inline constexpr int kCutBandThickness = 24;

// The picture of a range as a spreadsheet application shows it on screen at 96 dpi,
// without gridlines, on white: column widths and row heights in pixels, fills,
// borders, fonts, alignment, wrapping, merged areas and every value through its
// number format (formulas show their stored results). The image measures the sum of
// the shown column widths by the sum of the shown row heights.
//
// A range longer than kMaxPictureExtent is cut after the last whole row that fits
// beside a band at the bottom reading "… N more rows in the workbook" (columns
// likewise, with a band on the right), so even the largest sheet is drawn in bounded
// time and memory. A null image when nothing shows (every row or column hidden) or
// the image cannot be allocated.
QImage renderRange(const WorkbookData& workbook, const SheetData& sheet, const CellArea& area);

}  // namespace engine::render
