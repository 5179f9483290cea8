#pragma once

#include "engine/model/sheet.h"
#include "shell/atomic_file.h"

#include <QByteArray>
#include <QString>

namespace engine::xls {

// Saves the workbook as an Excel 97-2003 workbook (BIFF8 in a compound file) at
// path. The file is written to a new sibling and renamed into place once complete,
// so an existing file is replaced only by a whole one. Fails with EngineError (and
// leaves nothing behind) when the workbook cannot be stored in the format or the
// path cannot be written.
// A WithinRun save skips waiting for the disk, for a file read back at once.
void writeWorkbook(const WorkbookData& wb, const QString& path,
                   shell::Durability durability = shell::Durability::Synced);

// The workbook stream and the whole file, for callers that keep them in memory.
QByteArray buildWorkbookStream(const WorkbookData& wb);
QByteArray buildWorkbookFile(const WorkbookData& wb);

}  // namespace engine::xls
