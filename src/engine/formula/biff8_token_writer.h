#pragma once

#include "engine/formula/ast.h"

#include <QByteArray>

namespace engine::formula {

// The formula's tokens as a FORMULA record of the file stores them, for the
// formula in cell `at`. References keep their relative flags, so the file's
// formula stays relative as in the sheet.
QByteArray encodeBiff8Tokens(const Node& root, CellAddress at);

}  // namespace engine::formula
