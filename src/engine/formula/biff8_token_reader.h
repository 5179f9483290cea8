#pragma once

#include "engine/formula/ast.h"

#include <QByteArray>

namespace engine::formula {

// Reads the tokens of a FORMULA record for the formula in cell `at` back into a
// tree. Anything it cannot take (truncated or unknown tokens, names, other
// sheets, shared formulas, nesting beyond the limit) fails with a description;
// it never reads past the bytes it is given.
NodePtr decodeBiff8Tokens(const QByteArray& tokens, CellAddress at);

}  // namespace engine::formula
