#pragma once

#include "engine/model/sheet.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace engine::xls {

class CellFormatCatalog;

// Reads one worksheet substream, starting at its BOF record, into sheet: cells with
// their values, formulas and cached results, formats of the whole sheet, columns
// and rows, sizes, merged areas and page setup. Each new cell takes one from
// cellBudget; a sheet that needs more fails, which keeps a small file that lists
// millions of blank cells from taking unbounded memory.
void readSheetStream(QByteArrayView stream, qsizetype bof, SheetData& sheet, CellFormatCatalog& formats,
                     const std::vector<QString>& sharedStrings, std::size_t& cellBudget);

}  // namespace engine::xls
