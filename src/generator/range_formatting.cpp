#include "generator/range_formatting.h"

#include "generator/connection.h"
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
                bool insideVertical, engine::BorderWeight weight, int colorIndex) {
    selectUnlessEmpty(range);
    if (left) SetBorder(engine::BorderEdge::Left, weight, colorIndex);
    if (top) SetBorder(engine::BorderEdge::Top, weight, colorIndex);
    if (bottom) SetBorder(engine::BorderEdge::Bottom, weight, colorIndex);
    if (right) SetBorder(engine::BorderEdge::Right, weight, colorIndex);
    if (insideHorizontal) SetBorder(engine::BorderEdge::InsideHorizontal, weight, colorIndex);
    if (insideVertical) SetBorder(engine::BorderEdge::InsideVertical, weight, colorIndex);
}

void SetBorder(engine::BorderEdge edge, engine::BorderWeight weight, int colorIndex) {
    const engine::RangeBorder border = excel().Selection().Borders(edge);
    border.SetLineStyle(engine::LineStyle::Continuous);
    border.SetWeight(weight);
    border.SetColorIndex(colorIndex);
}

void SetAlignment(bool centerAcross, bool centerDown, bool wrap, bool right) {
    const engine::Range selection = excel().Selection();
    if (centerAcross) selection.SetHorizontalAlignment(engine::HorizontalAlignment::Center);
    if (right) selection.SetHorizontalAlignment(engine::HorizontalAlignment::Right);
    if (centerDown) selection.SetVerticalAlignment(engine::VerticalAlignment::Center);
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
