#pragma once

#include "engine/model/sheet.h"

#include <QByteArray>

namespace engine::ods {

// Reads the values of an OpenDocument spreadsheet (.ods) from its bytes: every
// table by name, in order, with its cells' values (numbers, percentages and
// currencies as numbers, texts, truth values; dates and times as the text they
// show). Formats and formulas themselves are not read. Damaged or hostile files
// fail with EngineError saying what is wrong, within the limits of engine::zip;
// runs of repeated empty rows and cells cost nothing.
WorkbookData readWorkbookValues(const QByteArray& file);

// True when the bytes are a zip archive whose "mimetype" names an OpenDocument
// spreadsheet (read without inflating anything).
bool looksLikeOds(const QByteArray& file);

}  // namespace engine::ods
