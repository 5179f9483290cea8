#include "engine/xls/sheet_survey.h"

#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/xls/shared_string_table.h"

#include <algorithm>

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

SheetSurvey surveySheet(const SheetData& sheet, StyleUse& styles, SharedStringTableBuilder& strings,
                        std::optional<QString>& textTooLong) {
    styles.use(sheet.defaultStyle);
    for (const auto& [col, id] : sheet.columnStyles) styles.use(id);
    for (const auto& [row, id] : sheet.rowStyles) styles.use(id);

    SheetSurvey s;
    for (int r = sheet.cells.firstRow(); r < sheet.cells.rowEnd(); ++r) {
        const auto row = sheet.cells.row(r);
        if (row.empty()) continue;
        s.firstCol = std::min(s.firstCol, row.front().first.col);
        s.lastCol = std::max(s.lastCol, row.back().first.col);
        for (const auto& [at, cell] : row) {
            styles.use(cell.style);
            if (cell.hasFormula()) continue;
            if (const QString* text = std::get_if<QString>(&cell.value)) {
                if (!textTooLong) textTooLong = textTooLongFor(*text, at);
                s.textIndexes.push_back(strings.add(*text));
            }
        }
    }
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
