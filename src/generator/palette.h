#pragma once

// The workbook's colour palette: 56 colours, indexes 1 to 56, each written as
// red + 256 * green + 65536 * blue. All zero until FillPalette runs.
namespace generator {

inline constexpr int kPaletteSize = 56;

// Entry i (1 to 56); throws shell::Failure("Subscript out of range") otherwise.
int PaletteColors(int i);

// Sets all 56 entries; running it again gives the same table.
void FillPalette();

// Empties the table again, as before the first fill.
void ClearPaletteForTesting();

}  // namespace generator
