#include "engine/formula/argument_values.h"
#include "engine/formula/decimal_rounding.h"
#include "engine/formula/functions.h"

#include <cmath>

namespace engine::formula::functions {

namespace {

// Applies `f` to the one number argument.
template <class F>
Operand ofOneNumber(FunctionArgs& args, F f) {
    const Converted<double> x = numberArgument(args, 0);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&x)) return Operand::ofValue(*e);
    return Operand::ofValue(f(std::get<double>(x)));
}

// Applies `f` to the two number arguments; the first error wins.
template <class F>
Operand ofTwoNumbers(FunctionArgs& args, F f) {
    const Converted<double> a = numberArgument(args, 0);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&a)) return Operand::ofValue(*e);
    const Converted<double> b = numberArgument(args, 1);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&b)) return Operand::ofValue(*e);
    return Operand::ofValue(f(std::get<double>(a), std::get<double>(b)));
}

Operand rounded(FunctionArgs& args, Rounding mode) {
    return ofTwoNumbers(args, [mode](double x, double digits) { return numberResult(roundDecimal(x, digits, mode)); });
}

}  // namespace

Operand abs(FunctionArgs& args) {
    return ofOneNumber(args, [](double x) { return numberResult(std::fabs(x)); });
}

Operand intFunction(FunctionArgs& args) {
    return ofOneNumber(args, [](double x) { return numberResult(std::floor(x)); });
}

// The remainder takes the sign of the divisor: MOD(-3, 2) is 1.
Operand mod(FunctionArgs& args) {
    return ofTwoNumbers(args, [](double n, double d) -> CellValue {
        if (d == 0) return ErrorValue::Div0;
        double r = std::fmod(n, d);
        if (r != 0 && (r < 0) != (d < 0)) r += d;
        return numberResult(r);
    });
}

Operand round(FunctionArgs& args) { return rounded(args, Rounding::HalfAwayFromZero); }
Operand roundUp(FunctionArgs& args) { return rounded(args, Rounding::AwayFromZero); }
Operand roundDown(FunctionArgs& args) { return rounded(args, Rounding::TowardZero); }

}  // namespace engine::formula::functions
