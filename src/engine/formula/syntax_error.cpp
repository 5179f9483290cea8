#include "engine/formula/syntax_error.h"

#include "engine/model/engine_error.h"

namespace engine::formula {

void throwSyntaxError(const QString& formula, const QString& reason) {
    throw EngineError(QStringLiteral("There is a problem with the formula \"%1\": %2.").arg(formula, reason));
}

}  // namespace engine::formula
