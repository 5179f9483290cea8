#pragma once

#include "generator/engine/model/sheet.h"

#include <cstdint>
#include <vector>

namespace engine::xls {

class BiffWriter;
class CellFormatTable;
class SharedStringTableBuilder;

// Adds the sheet's text constants to the shared string table, refusing texts longer
// than a cell can hold. Returns the table index of each text cell, in cell order.
std::vector<std::uint32_t> collectSheetTexts(const SheetData& sheet, SharedStringTableBuilder& strings);

// Writes one worksheet's substream (BOF to EOF) at the writer's current position:
// page setup, column and row formats and sizes, the cells in blocks of 32 rows with
// their INDEX and DBCELL records, the window and the merged areas. The sheet's texts
// are in the shared string table already, since the workbook globals that carry it
// come first in the stream: textIndexes are what collectSheetTexts returned for it.
void writeSheetStream(BiffWriter& out, const SheetData& sheet, bool active, const CellFormatTable& formats,
                      const std::vector<std::uint32_t>& textIndexes);

}  // namespace engine::xls
