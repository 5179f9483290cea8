#pragma once

#include "engine/range.h"

#include <QString>

// Small operations through which the layout styles cells. Each acts on the range
// it is given and on nothing else; they keep no state. Failures of the engine pass
// to the caller.
namespace generator {

// Which borders of a range to draw.
struct BorderSides {
    bool left = false;
    bool top = false;
    bool bottom = false;
    bool right = false;
    bool insideVertical = false;
};

// Draws continuous lines of the given weight and colour on each side asked for, in
// the order left, top, bottom, right, inside vertical (a later line wins where two
// meet).
void setBorders(const engine::Range& range, BorderSides sides, engine::BorderWeight weight, int colorIndex);

// A font as the layout sets it: name, size in points, bold or regular, colour index.
struct FontChange {
    QString name;
    double size = 10;
    bool bold = false;
    int colorIndex = engine::kColorAutomatic;
};
void setFont(const engine::Range& range, const FontChange& font);

}  // namespace generator
