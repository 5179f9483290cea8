#pragma once

#include "engine/model/cell_style.h"

#include <QString>
#include <cstdint>
#include <optional>

// How the engine's units, colours and line styles map onto BIFF8 values.
namespace engine::xls {

// Palette indexes 1..56 are colour indexes 8..63 in the file; the automatic font
// colour is 0x7FFF, the automatic border and pattern colours 64 and 65.
inline constexpr std::uint16_t kIcvFontAutomatic = 0x7FFF;
inline constexpr std::uint16_t kIcvSystemForeground = 64;
inline constexpr std::uint16_t kIcvSystemBackground = 65;

std::uint16_t fontColourToIcv(int colorIndex);
int fontColourFromIcv(std::uint16_t icv);
std::uint16_t borderColourToIcv(int colorIndex);
int borderColourFromIcv(std::uint16_t icv, std::uint8_t lineStyle);
std::uint16_t fillColourToIcv(int colorIndex);   // a palette index; kColorNone has no fill
int fillColourFromIcv(std::uint16_t icv);        // kColorNone when not a palette colour
bool isPaletteColour(int colorIndex);

std::uint8_t borderLineToBiff(BorderLine line);
BorderLine borderLineFromBiff(std::uint8_t style);
std::uint8_t hAlignToBiff(HorizontalAlignment a);
HorizontalAlignment hAlignFromBiff(std::uint8_t alc);
std::uint8_t vAlignToBiff(VerticalAlignment a);
VerticalAlignment vAlignFromBiff(std::uint8_t alcV);

// Column widths: characters of the standard font (digit width 7 pixels, plus 5
// pixels of padding) in 1/256 of a character, as spreadsheet applications store
// them; widths with two decimals survive the round trip exactly.
std::uint16_t columnWidthToBiff(double characters);
double columnWidthFromBiff(std::uint16_t width);
// Row heights and font sizes: points in twips (1/20 point).
std::uint16_t pointsToTwips(double points);
double twipsToPoints(std::uint16_t twips);

// Built-in number formats that every reader knows by index.
std::optional<std::uint16_t> builtInFormatIndex(const QString& format);
std::optional<QString> builtInFormatText(std::uint16_t index);
inline constexpr std::uint16_t kFirstCustomFormat = 164;

}  // namespace engine::xls
