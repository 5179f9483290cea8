#include "generator/range_formatting.h"


namespace generator {

void setBorders(const engine::Range& range, BorderSides sides, engine::BorderWeight weight, int colorIndex) {
    if (sides.left) setBorder(range, engine::BorderEdge::Left, weight, colorIndex);
    if (sides.top) setBorder(range, engine::BorderEdge::Top, weight, colorIndex);
    if (sides.bottom) setBorder(range, engine::BorderEdge::Bottom, weight, colorIndex);
    if (sides.right) setBorder(range, engine::BorderEdge::Right, weight, colorIndex);
    if (sides.insideHorizontal) setBorder(range, engine::BorderEdge::InsideHorizontal, weight, colorIndex);
    if (sides.insideVertical) setBorder(range, engine::BorderEdge::InsideVertical, weight, colorIndex);
}

void setBorder(const engine::Range& range, engine::BorderEdge edge, engine::BorderWeight weight, int colorIndex) {
    const engine::RangeBorder border = range.Borders(edge);
    border.SetLineStyle(engine::LineStyle::Continuous);
    border.SetWeight(weight);
    border.SetColorIndex(colorIndex);
}

void setAlignment(const engine::Range& range, AlignmentChange change) {
    if (change.centreAcross) range.SetHorizontalAlignment(engine::HorizontalAlignment::Center);
    if (change.right) range.SetHorizontalAlignment(engine::HorizontalAlignment::Right);
    if (change.centreDown) range.SetVerticalAlignment(engine::VerticalAlignment::Center);
    if (change.wrap) range.SetWrapText(true);
}

void setRowHeight(const engine::Range& rows, double points) { rows.SetRowHeight(points); }

void setColumnWidth(const engine::Range& columns, double characters) { columns.SetColumnWidth(characters); }

void setInteriorColor(const engine::Range& range, int colorIndex) { range.Interior().SetColorIndex(colorIndex); }

namespace {
void finishWriting(const engine::Range& range, CellWriting writing) {
    if (writing.merge) range.Merge();
    range.SetWrapText(writing.wrap);
}
}  // namespace

void writeCell(const engine::Range& range, const QString& content, CellWriting writing) {
    range.Rows()(1).Columns()(1).SetFormulaR1C1(content);
    finishWriting(range, writing);
}

void writeText(const engine::Range& range, const QString& text, CellWriting writing) {
    range.Rows()(1).Columns()(1).SetText(text);
    finishWriting(range, writing);
}

void setFont(const engine::Range& range, const FontChange& font) {
    const engine::Font target = range.Font();
    target.SetFontStyle(font.style);
    target.SetSize(font.size);
    target.SetColorIndex(font.colorIndex);
    target.SetName(font.name);
}

void setNumberFormat(const engine::Range& range, const QString& format) { range.SetNumberFormat(format); }

}  // namespace generator
