#pragma once

#include "engine/model/sheet.h"

#include <QByteArray>

namespace engine::xlsx {

// Reads the values of an Office Open XML workbook (.xlsx, .xlsm) from its bytes:
// every worksheet by name, in the workbook's order, with its constants and the
// cached results of its formulas (numbers, texts, truth values, errors). Formats,
// sizes and formulas themselves are not read. The active sheet is the one the
// workbook opens on. Damaged or hostile files fail with EngineError saying what
// is wrong, within the limits of engine::zip.
WorkbookData readWorkbookValues(const QByteArray& file);

}  // namespace engine::xlsx
