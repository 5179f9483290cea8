#pragma once

#include "engine/model/sheet.h"

#include <QByteArray>
#include <QString>

namespace engine::xls {

// Opens an Excel 97-2003 workbook: every value, formula with its cached result,
// format, merged area, size, palette entry and page-setup value. Damaged or hostile
// files (truncated, wrong sizes, looping sector chains, records longer than their
// stream, indexes that point nowhere, absurd counts) fail with EngineError naming
// the file; memory stays within a small multiple of the file's size.
WorkbookData readWorkbook(const QString& path);

// The same from the file's bytes; failures carry only the reason.
WorkbookData readWorkbookBytes(const QByteArray& file);

}  // namespace engine::xls
