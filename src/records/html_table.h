#pragma once

#include "generator/record_table.h"

#include <QString>

namespace records {

// The first table of an HTML text (what a spreadsheet application puts on the
// clipboard beside, or instead of, plain text): a row per table row, a text
// cell per table cell, numbered from 1. No table gives no rows.
generator::RecordTable readHtmlTable(const QString& html);

}  // namespace records
