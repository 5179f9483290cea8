#pragma once

#include <QString>

namespace generator {

class EngineSession;

// The formats the generated workbook is saved in where the user wants it.
enum class WorkbookFormat {
    Xls,   // Excel 97-2003, as the generation run saved it
    Xlsx,  // Office Open XML
};

// The format a file name asks for: Office Open XML when it ends in .xlsx (in any
// case), otherwise .xls.
WorkbookFormat workbookFormatOf(const QString& path);

// Saves the workbook the generation run left at `workbook` as `target`: a byte
// copy for .xls; for .xlsx the workbook reopened in a new instance of the session
// and saved as Office Open XML. The target is replaced whole or left as it was.
// Throws shell::Failure or engine::EngineError.
void saveWorkbookAs(const EngineSession& session, const QString& workbook, const QString& target,
                    WorkbookFormat format);

}  // namespace generator
