#pragma once

#include "engine/range.h"

#include <QString>

// Small operations through which the layout writes and styles cells. Each acts on
// the range it is given and on nothing else; they keep no state. Failures of the
// engine pass to the caller.
namespace generator {

// Which borders of a range to draw.
struct BorderSides {
    bool left = false;
    bool top = false;
    bool bottom = false;
    bool right = false;
    bool insideHorizontal = false;
    bool insideVertical = false;
};

// Draws continuous lines of the given weight and colour on each side asked for, in
// the order left, top, bottom, right, inside horizontal, inside vertical.
void setBorders(const engine::Range& range, BorderSides sides, engine::BorderWeight weight, int colorIndex);
// One border: continuous, then the weight, then the colour.
void setBorder(const engine::Range& range, engine::BorderEdge edge, engine::BorderWeight weight, int colorIndex);

// Alignment changes; a false flag leaves its property as it was.
struct AlignmentChange {
    bool centreAcross = false;
    bool centreDown = false;
    bool wrap = false;
    bool right = false;
};
// Centre across, then right (so right wins), then centre down, then wrap.
void setAlignment(const engine::Range& range, AlignmentChange change);

void setRowHeight(const engine::Range& rows, double points);
void setColumnWidth(const engine::Range& columns, double characters);
void setInteriorColor(const engine::Range& range, int colorIndex);

struct CellWriting {
    bool merge = false;  // merge the range into one cell after writing
    bool wrap = false;   // the range's wrapping is always set to this
};
// Writes content into the range's top-left cell as if typed, merges the range when
// asked, and sets its wrapping.
void writeCell(const engine::Range& range, const QString& content, CellWriting writing);
// The same with the content written as text, whatever it reads as: a name is data.
void writeText(const engine::Range& range, const QString& text, CellWriting writing);

// A font as the layout sets it: style ("Normal", "Bold"), size in points, colour
// index, name; applied in this order.
struct FontChange {
    QString style;
    double size = 10;
    int colorIndex = 0;
    QString name;
};
void setFont(const engine::Range& range, const FontChange& font);
void setNumberFormat(const engine::Range& range, const QString& format);

}  // namespace generator
