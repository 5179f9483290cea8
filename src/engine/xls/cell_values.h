#pragma once

#include "engine/model/cell_types.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Encodings of cell values in BIFF8 records.
namespace engine::xls {

// The compact RK form of a number (RK and MULRK records), when it holds the number
// exactly: an integer of 30 bits, or a double whose low 34 bits are zero, either
// possibly divided by 100.
std::optional<std::uint32_t> encodeRk(double value);
double decodeRk(std::uint32_t rk);

// The eight-byte cached result of a FORMULA record. A text result is stored in the
// STRING record that follows, so it is returned apart (pointing into `value`).
struct FormulaResult {
    std::array<char, 8> value{};
    const QString* text = nullptr;
};
FormulaResult encodeFormulaResult(const CellValue& value);

// Reads the eight bytes at `bytes` back. A text result (its text follows in a
// STRING record) comes back as an empty QString with `textFollows` set.
CellValue decodeFormulaResult(const char* bytes, bool& textFollows);

// An error value from its code; codes no spreadsheet uses read as #VALUE!.
ErrorValue errorFromCode(std::uint8_t code);

}  // namespace engine::xls
