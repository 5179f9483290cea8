#pragma once

#include "engine/formula/evaluator.h"

// The worksheet functions. Each takes its arguments unevaluated and returns its
// result; the function table decides which name and number reach which.
namespace engine::formula::functions {

// Aggregates over values and references.
Operand sum(FunctionArgs& args);
Operand average(FunctionArgs& args);
Operand min(FunctionArgs& args);
Operand max(FunctionArgs& args);
Operand product(FunctionArgs& args);
Operand count(FunctionArgs& args);
Operand countA(FunctionArgs& args);

// Numbers.
Operand abs(FunctionArgs& args);
Operand intFunction(FunctionArgs& args);
Operand mod(FunctionArgs& args);
Operand round(FunctionArgs& args);
Operand roundUp(FunctionArgs& args);
Operand roundDown(FunctionArgs& args);

// Logic.
Operand ifFunction(FunctionArgs& args);
Operand andFunction(FunctionArgs& args);
Operand orFunction(FunctionArgs& args);
Operand notFunction(FunctionArgs& args);

// Text.
Operand len(FunctionArgs& args);
Operand concatenate(FunctionArgs& args);
Operand upper(FunctionArgs& args);
Operand lower(FunctionArgs& args);
Operand trim(FunctionArgs& args);

}  // namespace engine::formula::functions
