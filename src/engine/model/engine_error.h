#pragma once

#include "shell/failure.h"

namespace engine {

// A member of the object model, the formula engine or the file layer refused its
// arguments; the description reads as a spreadsheet application would put it.
class EngineError : public shell::Failure {
public:
    using shell::Failure::Failure;
};

}  // namespace engine
