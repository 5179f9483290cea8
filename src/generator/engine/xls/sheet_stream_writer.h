#pragma once

#include "generator/engine/model/sheet.h"

namespace engine::xls {

class BiffWriter;
class CellFormatTable;
class SharedStringTableBuilder;

// Writes one worksheet's substream (BOF to EOF) at the writer's current position:
// page setup, column and row formats and sizes, the cells in blocks of 32 rows with
// their INDEX and DBCELL records, the window and the merged areas. The sheet's texts
// must be in the shared string table already (collectSheetTexts), since the workbook
// globals that carry it come first in the stream.
void writeSheetStream(BiffWriter& out, const SheetData& sheet, bool active, const CellFormatTable& formats,
                      const SharedStringTableBuilder& strings);

// Adds the sheet's text constants to the shared string table, refusing texts longer
// than a cell can hold.
void collectSheetTexts(const SheetData& sheet, SharedStringTableBuilder& strings);

}  // namespace engine::xls
