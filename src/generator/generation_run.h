#pragma once

#include "engine/workbook.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace generator {

class MainWindowControl;
class PreviewTarget;
class RecordSource;

// The generation run: builds the commission workbook in a new instance, saves it
// under a fresh temporary name, reopens it in a second instance to take the
// picture of its used range, and hands picture and path to the preview window,
// which replaces the main window on screen. Every failure is reported with the
// run's statement number and the run goes on.
void GenerateReport0(const RecordSource& records, MainWindowControl& form1, PreviewTarget& form2);

// Writes the picture of the workbook's used range to path (a BMP image); nothing
// when the used range ends in row 1 or column 1. Reports its own failures.
void saveCellsActivesheet(const engine::Workbook& workbook, const QString& path);

// The picture on the engine's clipboard, read up to 1000 times while the read
// fails; a null image when none arrived. Never fails. format 0 takes any format.
QImage GetClipboardPicture(int format);

// The path of the temporary workbook the last run saved (empty before any run).
QString LastTemporaryWorkbook();

// Tests make the temporary names repeatable.
void SeedTemporaryNames(std::uint32_t seed);

}  // namespace generator
