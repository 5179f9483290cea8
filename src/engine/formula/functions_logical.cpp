#include "engine/formula/argument_values.h"
#include "engine/formula/functions.h"

namespace engine::formula::functions {

namespace {

// An empty argument stands for 0, as in IF(A1,,1).
Operand branch(FunctionArgs& args, int index) {
    if (args.isMissing(index)) return Operand::ofValue(0.0);
    return args.operand(index);
}

// Combines the logical values of the arguments with `combine`. In references only
// logical values and numbers count; single values must read as logical values.
// Without any logical value the result is #VALUE!.
template <class Combine>
Operand overLogicals(FunctionArgs& args, bool start, Combine combine) {
    bool result = start;
    bool any = false;
    const auto error = forEachArgumentValue(args, [&](const CellValue& value, bool fromReference) -> std::optional<ErrorValue> {
        if (const ErrorValue* e = std::get_if<ErrorValue>(&value)) return *e;
        if (fromReference && !std::holds_alternative<bool>(value) && !std::holds_alternative<double>(value))
            return std::nullopt;
        const Converted<bool> b = toBool(value);
        if (const ErrorValue* e = std::get_if<ErrorValue>(&b)) return *e;
        result = combine(result, std::get<bool>(b));
        any = true;
        return std::nullopt;
    });
    if (error) return Operand::ofValue(*error);
    if (!any) return Operand::ofValue(ErrorValue::Value);
    return Operand::ofValue(result);
}

}  // namespace

// Evaluates only the branch it takes; without a third argument a false condition
// gives FALSE.
Operand ifFunction(FunctionArgs& args) {
    const Converted<bool> condition = toBool(args.value(0));
    if (const ErrorValue* e = std::get_if<ErrorValue>(&condition)) return Operand::ofValue(*e);
    if (std::get<bool>(condition)) return branch(args, 1);
    if (args.count() < 3) return Operand::ofValue(false);
    return branch(args, 2);
}

Operand andFunction(FunctionArgs& args) {
    return overLogicals(args, true, [](bool a, bool b) { return a && b; });
}

Operand orFunction(FunctionArgs& args) {
    return overLogicals(args, false, [](bool a, bool b) { return a || b; });
}

Operand notFunction(FunctionArgs& args) {
    const Converted<bool> b = toBool(args.value(0));
    if (const ErrorValue* e = std::get_if<ErrorValue>(&b)) return Operand::ofValue(*e);
    return Operand::ofValue(!std::get<bool>(b));
}

}  // namespace engine::formula::functions
