#pragma once

#include "engine/formula/ast.h"

#include <QString>

namespace engine::formula {

// The canonical text of a tree, "=" included: no blanks, function names in capitals,
// numbers in their shortest exact form, references in the given style as seen from
// the formula's cell `at` ("R[+6]C" becomes "R[6]C").
QString formulaText(const Node& root, ReferenceStyle style, CellAddress at);

}  // namespace engine::formula
