#pragma once

#include "engine/model/cell_types.h"

#include <optional>

namespace engine {

struct SheetData;

// The smallest rectangle holding every stored cell (every cell with a value or a
// format of its own) and every merged area; row, column and sheet formats alone do
// not count. Empty when the sheet has neither.
std::optional<CellArea> usedArea(const SheetData& sheet);

}  // namespace engine
