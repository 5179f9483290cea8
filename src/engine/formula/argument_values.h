#pragma once

#include "engine/formula/evaluator.h"
#include "engine/formula/value_coercion.h"

#include <optional>
#include <vector>

namespace engine::formula {

// Visits every value a function's arguments hold, in order: each cell of a
// reference argument (fromReference true) and the single value of any other
// argument. A missing argument is skipped. The visitor returns an error to stop
// the walk with that error as the result.
template <class Visit>
std::optional<ErrorValue> forEachArgumentValue(FunctionArgs& args, Visit visit) {
    for (int i = 0; i < args.count(); ++i) {
        if (args.isMissing(i)) continue;
        const Operand operand = args.operand(i);
        if (!operand.area) {
            if (auto error = visit(operand.value, false)) return error;
            continue;
        }
        const CellArea& a = *operand.area;
        for (int row = a.firstRow; row <= a.lastRow; ++row)
            for (int col = a.firstCol; col <= a.lastCol; ++col)
                if (auto error = visit(args.cellValue(row, col), true)) return error;
    }
    return std::nullopt;
}

// The numbers of the arguments as SUM, AVERAGE, MIN, MAX and PRODUCT count them:
// in references only numbers (text, logical values and empty cells are skipped);
// single values converted (text that does not read as a number gives #VALUE!).
// The first error met is the result.
Converted<std::vector<double>> collectNumbers(FunctionArgs& args);

// Argument `index` as a number.
inline Converted<double> numberArgument(FunctionArgs& args, int index) {
    return toNumber(args.value(index));
}

}  // namespace engine::formula
