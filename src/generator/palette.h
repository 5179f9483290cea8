#pragma once

// The workbook's colour palette: 56 fixed colours, indexes 1 to 56, that every
// generated workbook carries; the sheet's fills, fonts and borders refer to them.
namespace generator {

inline constexpr int kPaletteSize = 56;

// Entry i (1 to 56) as red + 256 * green + 65536 * blue; throws shell::Failure
// for any other i.
int paletteColor(int i);

}  // namespace generator
