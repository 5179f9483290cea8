#include "engine/formula/syntax_error.h"

#include "engine/model/engine_error.h"
#include "shell/message_text.h"

namespace engine::formula {

void throwSyntaxError(const QString& formula, const QString& reason) {
    throw EngineError(QStringLiteral("There is a problem with the formula %1: %2.")
                          .arg(shell::quotedForMessage(formula), reason));
}

}  // namespace engine::formula
