#include "generator/range_formatting.h"

#include "engine/constants.h"

namespace generator {

void setBorders(const engine::Range& range, BorderSides sides, int weight, int colorIndex) {
    if (sides.left) setBorder(range, engine::xlEdgeLeft, weight, colorIndex);
    if (sides.top) setBorder(range, engine::xlEdgeTop, weight, colorIndex);
    if (sides.bottom) setBorder(range, engine::xlEdgeBottom, weight, colorIndex);
    if (sides.right) setBorder(range, engine::xlEdgeRight, weight, colorIndex);
    if (sides.insideHorizontal) setBorder(range, engine::xlInsideHorizontal, weight, colorIndex);
    if (sides.insideVertical) setBorder(range, engine::xlInsideVertical, weight, colorIndex);
}

void setBorder(const engine::Range& range, int edge, int weight, int colorIndex) {
    const engine::RangeBorder border = range.Borders(edge);
    border.SetLineStyle(engine::xlContinuous);
    border.SetWeight(weight);
    border.SetColorIndex(colorIndex);
}

void setAlignment(const engine::Range& range, AlignmentChange change) {
    if (change.centreAcross) range.SetHorizontalAlignment(engine::xlCenter);
    if (change.right) range.SetHorizontalAlignment(engine::xlRight);
    if (change.centreDown) range.SetVerticalAlignment(engine::xlCenter);
    if (change.wrap) range.SetWrapText(true);
}

void setRowHeight(const engine::Range& rows, double points) { rows.SetRowHeight(points); }

void setColumnWidth(const engine::Range& columns, double characters) { columns.SetColumnWidth(characters); }

void setInteriorColor(const engine::Range& range, int colorIndex) { range.Interior().SetColorIndex(colorIndex); }

void writeCell(const engine::Range& range, const QString& content, CellWriting writing) {
    range.Rows()(1).Columns()(1).SetFormulaR1C1(content);
    if (writing.merge) range.Merge();
    range.SetWrapText(writing.wrap);
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
