#pragma once

#include "engine/model/cell_types.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

// The workbook's defined names: the built-in print-area name of a sheet, with the
// self-referencing SUPBOOK and the EXTERNSHEET table its formula refers through.
namespace engine::xls {

class BiffWriter;
class RecordReader;

struct PrintAreaName {
    int sheet = 0;  // 0-based sheet index
    CellArea area;
};

// Writes SUPBOOK, EXTERNSHEET and one NAME per print area (nothing when none).
void writePrintAreaNames(BiffWriter& out, int sheetCount, const std::vector<PrintAreaName>& names);

// One EXTERNSHEET entry: a sheet range of a supporting workbook.
struct ExternSheetRef {
    std::uint16_t supBook = 0;
    std::uint16_t firstSheet = 0;
    std::uint16_t lastSheet = 0;
};
std::vector<ExternSheetRef> readExternSheet(RecordReader& body);

// The print area a NAME record defines, or nothing for any other name. An
// EXTERNSHEET index outside the table raises EngineError.
std::optional<PrintAreaName> readPrintAreaName(RecordReader& body, const std::vector<ExternSheetRef>& externSheets,
                                               int sheetCount);

}  // namespace engine::xls
