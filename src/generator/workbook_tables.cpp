#include "generator/workbook_tables.h"

#include "engine/workbook_values.h"
#include "generator/commission_sheet.h"
#include "shell/locale_number.h"

#include <algorithm>

namespace generator {
namespace {

namespace layout = commission_layout;

TableCell cellOf(const engine::CellValue& value, const QLocale& locale) {
    using Kind = TableCell::Kind;
    if (const auto* text = std::get_if<QString>(&value))
        return text->isEmpty() ? TableCell{} : TableCell{*text, Kind::Text};
    if (const auto* number = std::get_if<double>(&value))
        return {shell::localeNumberText(*number, locale).value_or(shell::generalNumberText(*number)), Kind::Number};
    if (const auto* truth = std::get_if<bool>(&value))
        return {*truth ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), Kind::Other};
    if (const auto* error = std::get_if<engine::ErrorValue>(&value)) return {engine::errorText(*error), Kind::Other};
    return {};
}

// The sheet's rows from `firstRow` to before `endRow` (0-based), each as long as
// the widest; wholly empty rows left out.
RecordTable tableOf(const engine::SheetData& sheet, int firstRow, int endRow, const QLocale& locale) {
    RecordTable table;
    table.sheetName = sheet.name;
    table.columnsHaveLetters = true;
    endRow = std::min(endRow, sheet.cells.rowEnd());
    for (int r = firstRow; r < endRow; ++r) {
        const auto cells = sheet.cells.row(r);
        if (!cells.empty()) table.columnCount = std::max(table.columnCount, cells.back().first.col + 1);
    }
    for (int r = std::max(firstRow, sheet.cells.firstRow()); r < endRow; ++r) {
        TableRow row{r + 1, std::vector<TableCell>(std::size_t(table.columnCount))};
        bool empty = true;
        for (const auto& [address, cell] : sheet.cells.row(r)) {
            row.cells[std::size_t(address.col)] = cellOf(cell.value, locale);
            empty = empty && row.cells[std::size_t(address.col)].kind == TableCell::Kind::Empty;
        }
        if (!empty) table.rows.push_back(std::move(row));
    }
    return table;
}

bool holdsText(const engine::SheetData& sheet, int row, int column, const char* text) {
    const engine::Cell* cell = sheet.cell(row - 1, column - 1);
    const auto* value = cell ? std::get_if<QString>(&cell->value) : nullptr;
    return value && *value == QLatin1String(text);
}

// The row of "Totals" below the records of a commission sheet; none when the
// sheet is no commission sheet.
std::optional<int> totalsRowOfCommissionSheet(const engine::SheetData& sheet) {
    if (!holdsText(sheet, layout::kTitleRow, layout::kNameColumn, layout::kTitle) ||
        !holdsText(sheet, layout::kHeaderRow, layout::kNameColumn, layout::kNameTitle) ||
        !holdsText(sheet, layout::kHeaderRow, layout::kTotalColumn, layout::kTotalTitle))
        return std::nullopt;
    for (int row = layout::kFirstRecordRow; row <= sheet.cells.rowEnd(); ++row)
        if (holdsText(sheet, row, layout::kNameColumn, layout::kTotalsLabel)) return row;
    return std::nullopt;
}

// The percentage cell holds the typed percentage as a fraction ("10%" as 0.1).
std::optional<QString> percentageOf(const engine::SheetData& sheet, const QLocale& locale) {
    const engine::Cell* cell = sheet.cell(layout::kPercentageRow - 1, layout::kNameColumn - 1);
    const auto* fraction = cell ? std::get_if<double>(&cell->value) : nullptr;
    if (!fraction) return std::nullopt;
    return shell::localeNumberText(*fraction * 100, locale);
}

RecordTable tableOf(const engine::SheetData& sheet, const QLocale& locale) {
    const std::optional<int> totalsRow = totalsRowOfCommissionSheet(sheet);
    if (!totalsRow) return tableOf(sheet, 0, sheet.cells.rowEnd(), locale);
    RecordTable table = tableOf(sheet, layout::kHeaderRow - 1, *totalsRow - 1, locale);
    table.commissionSheet = true;
    table.percentage = percentageOf(sheet, locale);
    return table;
}

}  // namespace

bool isWorkbook(const QByteArray& bytes) { return engine::workbookKindOf(bytes) != engine::WorkbookKind::None; }

std::vector<RecordTable> readWorkbookTables(const QByteArray& bytes, const QLocale& locale) {
    const engine::WorkbookData workbook = engine::readWorkbookValues(bytes);
    std::vector<RecordTable> tables;
    tables.reserve(workbook.sheets.size());
    for (const auto& sheet : workbook.sheets) tables.push_back(tableOf(*sheet, locale));
    return tables;
}

}  // namespace generator
