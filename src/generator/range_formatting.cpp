#include "generator/range_formatting.h"

#include "generator/connection.h"
#include "engine/constants.h"
#include "shell/failure.h"

namespace generator {

namespace {

engine::Application& excel() {
    if (!ExcelApp) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    return *ExcelApp;
}

void selectUnlessEmpty(const QString& range) {
    if (!range.isEmpty()) excel().Range(range).Select();
}

}  // namespace

void SetBorders(const QString& range, bool insideHorizontal, bool left, bool right, bool top, bool bottom,
                bool insideVertical, int weight, int colorIndex) {
    selectUnlessEmpty(range);
    if (left) SetBorder(engine::xlEdgeLeft, weight, colorIndex);
    if (top) SetBorder(engine::xlEdgeTop, weight, colorIndex);
    if (bottom) SetBorder(engine::xlEdgeBottom, weight, colorIndex);
    if (right) SetBorder(engine::xlEdgeRight, weight, colorIndex);
    if (insideHorizontal) SetBorder(engine::xlInsideHorizontal, weight, colorIndex);
    if (insideVertical) SetBorder(engine::xlInsideVertical, weight, colorIndex);
}

void SetBorder(int borderIndex, int weight, int colorIndex) {
    const engine::RangeBorder border = excel().Selection().Borders(borderIndex);
    border.SetLineStyle(engine::xlContinuous);
    border.SetWeight(weight);
    border.SetColorIndex(colorIndex);
}

void SetAlignment(bool centerAcross, bool centerDown, bool wrap, bool right) {
    const engine::Range selection = excel().Selection();
    if (centerAcross) selection.SetHorizontalAlignment(engine::xlCenter);
    if (right) selection.SetHorizontalAlignment(engine::xlRight);
    if (centerDown) selection.SetVerticalAlignment(engine::xlCenter);
    if (wrap) selection.SetWrapText(true);
}

void SetRowHeight(const QString& rows, double points) {
    excel().Rows(rows).Select();
    excel().Selection().SetRowHeight(points);
}

void SetColumnWidth(const QString& columns, double characters) {
    excel().Columns(columns).Select();
    excel().Selection().SetColumnWidth(characters);
}

void SetInteriorColor(const QString& range, int colorIndex) {
    selectUnlessEmpty(range);
    excel().Selection().Interior().SetColorIndex(colorIndex);
}

void WriteCell(const QString& range, const QString& content, bool merge, bool wrap) {
    selectUnlessEmpty(range);
    excel().ActiveCell().SetFormulaR1C1(content);
    if (merge) excel().Selection().Merge();
    excel().Selection().SetWrapText(wrap);
}

void SetFont(const QString& fontStyle, double size, int colorIndex, const QString& fontName) {
    const engine::Font font = excel().Selection().Font();
    font.SetFontStyle(fontStyle);
    font.SetSize(size);
    font.SetColorIndex(colorIndex);
    font.SetName(fontName);
}

void SetNumberFormat(const QString& range, const QString& format) {
    selectUnlessEmpty(range);
    excel().Selection().SetNumberFormat(format);
}

}  // namespace generator
