#pragma once

#include "engine/model/sheet.h"

#include <QString>

namespace engine::xlsx {

// Saves the workbook as an Office Open XML workbook (.xlsx) through libxlsxwriter:
// every sheet with its cells (formulas in A1 notation with their cached results),
// fonts, palette colours written as RGB (the format has no palette), solid fills,
// borders, alignment, number formats, merged areas, column widths, row heights,
// print area and page setup. Cached results that are truth values or errors are
// stored as their texts (TRUE, #DIV/0!), which readers show alike; spreadsheet
// applications recalculate on opening. Where comments print is not stored.
//
// The file is complete, and on the disk, before it replaces anything at path
// (written aside, then moved into place by shell::copyFileAtomically). Fails with
// EngineError, leaving nothing behind, when the workbook cannot be stored in the
// format or the path cannot be written.
void writeWorkbook(const WorkbookData& wb, const QString& path);

}  // namespace engine::xlsx
