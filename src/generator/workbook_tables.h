#pragma once

#include "generator/record_table.h"

#include <QByteArray>
#include <QLocale>
#include <vector>

// Workbooks read as tables for the record list: .xls (through the engine's
// reader), .xlsx and .ods. A commission sheet this program wrote comes back as
// its list: the header row and the records above "Totals", with the percentage.
namespace generator {

// True when the bytes are a workbook of a kind that readWorkbookTables reads (by
// their content, whatever the file is called).
bool isWorkbook(const QByteArray& bytes);

// Every worksheet as a table, in the workbook's order; numbers written by the
// locale's rules. Throws engine::EngineError (a shell::Failure) saying what is
// wrong, without the file's name, for a damaged or unreadable workbook.
std::vector<RecordTable> readWorkbookTables(const QByteArray& bytes, const QLocale& locale = QLocale());

}  // namespace generator
