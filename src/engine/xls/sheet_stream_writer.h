#pragma once

#include "engine/model/sheet.h"

namespace engine::xls {

class BiffWriter;
class CellFormatTable;
struct SheetSurvey;

// Writes one worksheet's substream (BOF to EOF) at the writer's current position:
// page setup, column and row formats and sizes, the cells in blocks of 32 rows with
// their INDEX and DBCELL records, the window and the merged areas. The sheet's texts
// are in the shared string table already, since the workbook globals that carry it
// come first in the stream: the survey (sheet_survey.h) put them there, and gives
// their indexes and the rows.
void writeSheetStream(BiffWriter& out, const SheetData& sheet, bool active, const CellFormatTable& formats,
                      const SheetSurvey& survey);

}  // namespace engine::xls
