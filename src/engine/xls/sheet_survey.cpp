#include "engine/xls/sheet_survey.h"

#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/xls/shared_string_table.h"

#include <algorithm>
#include <limits>

namespace engine::xls {

namespace {

// Records each style once, in order of first use, refusing ids with no style.
class StyleUse {
public:
    StyleUse(std::vector<StyleId>& used, std::size_t styleCount) : m_used(used), m_seen(styleCount, false) {}

    void use(StyleId id) {
        if (id >= m_seen.size()) throw EngineError(QStringLiteral("A cell refers to a format that does not exist."));
        if (m_seen[id]) return;
        m_seen[id] = true;
        m_used.push_back(id);
    }

private:
    std::vector<StyleId>& m_used;
    std::vector<bool> m_seen;
};

// Merges the rows that have a height or format of their own into the rows of the
// cells; all three come in row order.
std::vector<RowInfo> withFormattedRows(const std::vector<RowInfo>& cellRows, const SheetData& sheet) {
    std::vector<RowInfo> rows;
    rows.reserve(cellRows.size() + sheet.rowHeights.size() + sheet.rowStyles.size());
    auto cells = cellRows.cbegin();
    auto height = sheet.rowHeights.begin();
    auto style = sheet.rowStyles.begin();
    for (;;) {
        int next = std::numeric_limits<int>::max();
        if (cells != cellRows.cend()) next = std::min(next, cells->row);
        if (height != sheet.rowHeights.end()) next = std::min(next, height->first);
        if (style != sheet.rowStyles.end()) next = std::min(next, style->first);
        if (next == std::numeric_limits<int>::max()) break;
        RowInfo info{next};
        if (cells != cellRows.cend() && cells->row == next) info = *cells++;
        if (height != sheet.rowHeights.end() && height->first == next) info.height = &(height++)->second;
        if (style != sheet.rowStyles.end() && style->first == next) info.style = &(style++)->second;
        rows.push_back(info);
    }
    return rows;
}

SheetSurvey surveySheet(const SheetData& sheet, StyleUse& styles, SharedStringTableBuilder& strings,
                        std::optional<QString>& textTooLong) {
    styles.use(sheet.defaultStyle);
    for (const auto& [col, id] : sheet.columnStyles) styles.use(id);
    for (const auto& [row, id] : sheet.rowStyles) styles.use(id);

    SheetSurvey s;
    for (const auto& [at, cell] : sheet.cells) {
        styles.use(cell.style);
        if (s.rows.empty() || s.rows.back().row != at.row)
            s.rows.push_back(RowInfo{at.row, at.col, at.col});
        else
            s.rows.back().lastCol = at.col;
        s.firstCol = std::min(s.firstCol, at.col);
        s.lastCol = std::max(s.lastCol, at.col);
        if (cell.hasFormula()) continue;
        if (const QString* text = std::get_if<QString>(&cell.value)) {
            if (!textTooLong) textTooLong = textTooLongFor(*text, at);
            s.textIndexes.push_back(strings.add(*text));
        }
    }
    if (!sheet.rowHeights.empty() || !sheet.rowStyles.empty()) s.rows = withFormattedRows(s.rows, sheet);
    return s;
}

}  // namespace

WorkbookSurvey surveyWorkbook(const WorkbookData& wb, SharedStringTableBuilder& strings) {
    WorkbookSurvey survey;
    StyleUse styles(survey.usedStyles, wb.styles.size());
    for (const auto& sheet : wb.sheets) survey.sheets.push_back(surveySheet(*sheet, styles, strings, survey.textTooLong));
    return survey;
}

std::optional<QString> textTooLongFor(const QString& text, const CellAddress& at) {
    if (text.size() <= kMaxTextLength) return std::nullopt;
    return QStringLiteral("Cell %1 holds a text of %2 characters; a workbook cell holds at most %3.")
        .arg(areaReference(CellArea{at.row, at.col, at.row, at.col}))
        .arg(text.size())
        .arg(kMaxTextLength);
}

}  // namespace engine::xls
