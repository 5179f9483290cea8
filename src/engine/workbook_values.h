#pragma once

#include "engine/model/sheet.h"

#include <QByteArray>

namespace engine {

// The workbook formats whose values the engine reads.
enum class WorkbookKind {
    None,  // no workbook of these formats
    Xls,   // Excel 97-2003 (a compound file)
    Xlsx,  // Office Open XML (a zip archive)
    Ods,   // OpenDocument spreadsheet (a zip archive)
};

// The kind the bytes are, by their content alone (a file's name may lie).
WorkbookKind workbookKindOf(const QByteArray& bytes);

// The workbook's sheets with their values, whichever kind it is: the whole
// workbook for .xls, the values only for .xlsx and .ods. Fails with EngineError
// saying what is wrong (without the file's name) when the bytes are of no kind
// here, or damaged.
WorkbookData readWorkbookValues(const QByteArray& bytes);

}  // namespace engine
