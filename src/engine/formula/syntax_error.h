#pragma once

#include <QString>

namespace engine::formula {

// Refuses a formula text, naming the formula and what is wrong with it.
[[noreturn]] void throwSyntaxError(const QString& formula, const QString& reason);

}  // namespace engine::formula
