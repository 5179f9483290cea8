#include "engine/formula/argument_values.h"

namespace engine::formula {

Converted<std::vector<double>> collectNumbers(FunctionArgs& args) {
    std::vector<double> numbers;
    const auto error = forEachArgumentValue(args, [&](const CellValue& value, bool fromReference) -> std::optional<ErrorValue> {
        if (const ErrorValue* e = std::get_if<ErrorValue>(&value)) return *e;
        if (fromReference) {
            if (const double* d = std::get_if<double>(&value)) numbers.push_back(*d);
            return std::nullopt;
        }
        const Converted<double> number = toNumber(value);
        if (const ErrorValue* e = std::get_if<ErrorValue>(&number)) return *e;
        numbers.push_back(std::get<double>(number));
        return std::nullopt;
    });
    if (error) return *error;
    return numbers;
}

}  // namespace engine::formula
