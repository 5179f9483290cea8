#include "engine/formula/eval_context.h"

namespace engine::formula {

EvalContext::~EvalContext() = default;

}  // namespace engine::formula
