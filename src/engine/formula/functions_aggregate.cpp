#include "engine/formula/argument_values.h"
#include "engine/formula/functions.h"

#include <algorithm>

namespace engine::formula::functions {

namespace {

// Applies `reduce` to the numbers of the arguments; an error among them wins.
template <class Reduce>
Operand overNumbers(FunctionArgs& args, Reduce reduce) {
    const Converted<std::vector<double>> numbers = collectNumbers(args);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&numbers)) return Operand::ofValue(*e);
    return Operand::ofValue(reduce(std::get<std::vector<double>>(numbers)));
}

double total(const std::vector<double>& numbers) {
    double sum = 0;
    for (double d : numbers) sum += d;
    return sum;
}

}  // namespace

Operand sum(FunctionArgs& args) {
    return overNumbers(args, [](const std::vector<double>& n) { return numberResult(total(n)); });
}

Operand average(FunctionArgs& args) {
    return overNumbers(args, [](const std::vector<double>& n) -> CellValue {
        if (n.empty()) return ErrorValue::Div0;
        return numberResult(total(n) / static_cast<double>(n.size()));
    });
}

Operand min(FunctionArgs& args) {
    return overNumbers(args, [](const std::vector<double>& n) -> CellValue {
        return n.empty() ? 0.0 : *std::min_element(n.begin(), n.end());
    });
}

Operand max(FunctionArgs& args) {
    return overNumbers(args, [](const std::vector<double>& n) -> CellValue {
        return n.empty() ? 0.0 : *std::max_element(n.begin(), n.end());
    });
}

Operand product(FunctionArgs& args) {
    return overNumbers(args, [](const std::vector<double>& n) -> CellValue {
        if (n.empty()) return 0.0;
        double result = 1;
        for (double d : n) result *= d;
        return numberResult(result);
    });
}

// Counts numbers: in references the number cells, among single values whatever
// converts to a number. Errors are not counted and do not stop the count.
Operand count(FunctionArgs& args) {
    double n = 0;
    forEachArgumentValue(args, [&](const CellValue& value, bool fromReference) -> std::optional<ErrorValue> {
        if (fromReference ? std::holds_alternative<double>(value)
                          : std::holds_alternative<double>(toNumber(value)))
            ++n;
        return std::nullopt;
    });
    return Operand::ofValue(n);
}

// Counts values that are not empty, errors included.
Operand countA(FunctionArgs& args) {
    double n = 0;
    forEachArgumentValue(args, [&](const CellValue& value, bool fromReference) -> std::optional<ErrorValue> {
        if (!fromReference || !isEmpty(value)) ++n;
        return std::nullopt;
    });
    return Operand::ofValue(n);
}

}  // namespace engine::formula::functions
