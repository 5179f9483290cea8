#pragma once

#include "engine/formula/ast.h"

#include <QString>

namespace engine::formula {

// Reads a formula text (with its leading "=") into a tree; references are stored
// relative to the formula's cell `at` as written. Syntax errors, unknown functions,
// wrong argument counts and references outside the sheet fail with a description.
NodePtr parseFormulaText(const QString& formula, ReferenceStyle style, CellAddress at);

}  // namespace engine::formula
