#pragma once

#include "engine/formula/formula.h"
#include "engine/model/sheet.h"

#include "engine/model/cell_reference.h"

#include <QString>
#include <QStringList>

// A compact text of everything a sheet shows and prints: one line per stored cell
// (content, value, font, fill, alignment, wrapping, number format, borders), then
// the sheet's default format, merges, row heights, column widths and page setup.
// Formula results are the cached ones: calculate the workbook first.

namespace sheet_dump_detail {

using namespace engine;

inline QString number(double v) { return QString::number(v, 'g', 15); }

inline QString address(int row, int col) { return areaReference(CellArea{row, col, row, col}); }

inline QString valueText(const CellValue& v) {
    if (const double* d = std::get_if<double>(&v)) return number(*d);
    if (const QString* s = std::get_if<QString>(&v)) return u'\'' + *s + u'\'';
    if (const bool* b = std::get_if<bool>(&v)) return *b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (const ErrorValue* e = std::get_if<ErrorValue>(&v)) return errorText(*e);
    return QStringLiteral("empty");
}

inline QString colorText(int index) {
    if (index == kColorAutomatic) return QStringLiteral("auto");
    if (index == kColorNone) return QStringLiteral("none");
    return QString::number(index);
}

inline QString styleText(const CellStyle& s) {
    static const char* h[] = {"G", "L", "C", "R"};
    static const char* v[] = {"T", "C", "B"};
    static const char* line[] = {"-", "thin", "medium", "thick"};
    static const char* edge[] = {"L", "T", "B", "R"};
    QString font = s.font.name + u'/' + number(s.font.size);
    if (s.font.bold) font += QStringLiteral("/B");
    if (s.font.italic) font += QStringLiteral("/I");
    font += u'/' + colorText(s.font.colorIndex);
    QString text = QStringLiteral("font=%1 fill=%2 align=%3/%4%5 fmt=%6")
                       .arg(font, colorText(s.fillColorIndex), QLatin1String(h[int(s.hAlign)]),
                            QLatin1String(v[int(s.vAlign)]), s.wrap ? QStringLiteral(" wrap") : QString(),
                            s.numberFormat);
    QStringList borders;
    for (int e = 0; e < 4; ++e) {
        const Border& b = s.borders[e];
        if (b.line != BorderLine::None)
            borders << QLatin1String(edge[e]) + u':' + QLatin1String(line[int(b.line)]) + u'/' + colorText(b.colorIndex);
    }
    if (!borders.isEmpty()) text += QStringLiteral(" border=") + borders.join(u',');
    return text;
}

inline QString sizes(const engine::IndexMap<double>& m, bool columns) {
    QStringList parts;
    for (const auto& [i, size] : m)
        parts << (columns ? areaReference(CellArea{0, i, kMaxRows - 1, i}).section(u':', 0, 0) : QString::number(i + 1)) +
                     u'=' + number(size);
    return parts.join(u' ');
}

}  // namespace sheet_dump_detail

inline QString dumpCell(const engine::WorkbookData& book, const engine::SheetData& sheet, int row, int col) {
    using namespace engine;
    using namespace sheet_dump_detail;
    const Cell* cell = sheet.cell(row, col);
    QString content;
    if (!cell) content = QStringLiteral("(not stored)");
    else if (cell->hasFormula()) content = cell->formula->writtenR1C1() + QStringLiteral(" -> ") + valueText(cell->value);
    else content = valueText(cell->value);
    return address(row, col) + u' ' + content + u' ' + styleText(book.styles.style(sheet.effectiveStyle(row, col)));
}

inline QString dumpSheet(const engine::WorkbookData& book, const engine::SheetData& sheet) {
    using namespace engine;
    using namespace sheet_dump_detail;
    QStringList lines;
    for (const auto& [at, cell] : sheet.cells) lines << dumpCell(book, sheet, at.row, at.col);
    lines << QStringLiteral("default ") + styleText(book.styles.style(sheet.defaultStyle));
    if (!sheet.rowStyles.empty()) lines << QStringLiteral("row formats: %1").arg(sheet.rowStyles.size());
    if (!sheet.columnStyles.empty()) lines << QStringLiteral("column formats: %1").arg(sheet.columnStyles.size());
    QStringList merges;
    for (const CellArea& m : sheet.merges) merges << areaReference(m);
    lines << QStringLiteral("merges ") + merges.join(u' ');
    lines << QStringLiteral("rows ") + sizes(sheet.rowHeights, false) +
                 QStringLiteral(" (others %1)").arg(number(sheet.standardRowHeight));
    lines << QStringLiteral("columns ") + sizes(sheet.columnWidths, true) +
                 QStringLiteral(" (others %1)").arg(number(sheet.standardColumnWidth));
    const PageSetupData& p = sheet.pageSetup;
    static const char* comments[] = {"none", "at-end", "in-place"};
    static const char* orientation[] = {"portrait", "landscape"};
    lines << QStringLiteral("page area=%1 margins in=%2/%3/%4/%5 header/footer=%6/%7 comments=%8 orientation=%9")
                 .arg(p.printArea ? areaReference(*p.printArea) : QStringLiteral("none"))
                 .arg(number(p.leftMargin), number(p.rightMargin), number(p.topMargin), number(p.bottomMargin),
                      number(p.headerMargin), number(p.footerMargin))
                 .arg(QLatin1String(comments[int(p.printComments)]))
                 .arg(QLatin1String(orientation[int(p.orientation)])) +
             QStringLiteral(" paper=%1 zoom=%2 fit=%3x%4")
                 .arg(int(p.paperSize))
                 .arg(p.zoom ? QString::number(*p.zoom) : QStringLiteral("fit"))
                 .arg(p.fitToPagesWide)
                 .arg(p.fitToPagesTall);
    return lines.join(u'\n');
}
