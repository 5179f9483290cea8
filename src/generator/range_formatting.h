#pragma once

#include "engine/range.h"

#include <QString>

// Small operations through which the layout writes and styles cells of ExcelApp.
// An operation given a range text selects it first; most act on the current
// selection when the text is empty. They keep no state; failures pass to the caller.
namespace generator {

// Draws continuous lines of the given weight and colour, in the order left, top,
// bottom, right, inside horizontal, inside vertical, for each flag that is set.
void SetBorders(const QString& range, bool insideHorizontal, bool left, bool right, bool top,
                bool bottom, bool insideVertical, engine::BorderWeight weight, int colorIndex);
// One border of the selection: continuous, then the weight, then the colour.
void SetBorder(engine::BorderEdge edge, engine::BorderWeight weight, int colorIndex);
// On the selection: centre across, then right (so right wins), then centre down,
// then wrap; a false flag leaves its property as it was.
void SetAlignment(bool centerAcross, bool centerDown, bool wrap, bool right);
void SetRowHeight(const QString& rows, double points);
void SetColumnWidth(const QString& columns, double characters);
void SetInteriorColor(const QString& range, int colorIndex);
// Writes content into the active cell as if typed, merges the selection when asked,
// and always sets its wrapping to the flag.
void WriteCell(const QString& range, const QString& content, bool merge, bool wrap);
// On the selection's font: style, size, colour index, name, in this order.
void SetFont(const QString& fontStyle, double size, int colorIndex, const QString& fontName);
void SetNumberFormat(const QString& range, const QString& format);

}  // namespace generator
