#include "engine/formula/evaluator.h"

#include "engine/formula/function_table.h"
#include "engine/formula/value_coercion.h"

#include <cmath>

namespace engine::formula {

namespace {

bool isComparison(BinaryOp op) {
    return op == BinaryOp::Equal || op == BinaryOp::NotEqual || op == BinaryOp::Less ||
           op == BinaryOp::LessEqual || op == BinaryOp::Greater || op == BinaryOp::GreaterEqual;
}

bool comparisonHolds(BinaryOp op, int order) {
    switch (op) {
    case BinaryOp::Equal: return order == 0;
    case BinaryOp::NotEqual: return order != 0;
    case BinaryOp::Less: return order < 0;
    case BinaryOp::LessEqual: return order <= 0;
    case BinaryOp::Greater: return order > 0;
    default: return order >= 0;
    }
}

CellValue power(double base, double exponent) {
    if (base == 0 && exponent == 0) return ErrorValue::Num;
    if (base == 0 && exponent < 0) return ErrorValue::Div0;
    return numberResult(std::pow(base, exponent));
}

CellValue arithmetic(BinaryOp op, double a, double b) {
    switch (op) {
    case BinaryOp::Add: return numberResult(a + b);
    case BinaryOp::Subtract: return numberResult(a - b);
    case BinaryOp::Multiply: return numberResult(a * b);
    case BinaryOp::Divide: return b == 0 ? CellValue(ErrorValue::Div0) : numberResult(a / b);
    default: return power(a, b);
    }
}

}  // namespace

bool FunctionArgs::isMissing(int index) const {
    return std::holds_alternative<MissingArg>(m_nodes.at(index)->content);
}

Operand Evaluator::evaluate(const Node& node) {
    return std::visit(
        Overloaded{
            [](const NumberLiteral& n) { return Operand::ofValue(n.value); },
            [](const TextLiteral& t) { return Operand::ofValue(t.value); },
            [](const BoolLiteral& b) { return Operand::ofValue(b.value); },
            [](const ErrorLiteral& e) { return Operand::ofValue(e.value); },
            [](const MissingArg&) { return Operand::ofValue(std::monostate{}); },
            [this](const CellRef& r) { return reference(r.ref, r.ref); },
            [this](const AreaRef& a) { return reference(a.first, a.last); },
            [this](const Unary& u) { return Operand::ofValue(unary(u)); },
            [this](const Binary& b) { return Operand::ofValue(binary(b)); },
            [this](const Parens& p) { return evaluate(*p.inner); },
            [this](const Call& c) { return call(c); },
        },
        node.content);
}

Operand Evaluator::reference(const RefPart& first, const RefPart& last) {
    if (!first.isInsideSheet(m_at) || !last.isInsideSheet(m_at)) return Operand::ofValue(ErrorValue::Ref);
    return Operand::ofArea(resolveArea(first, last, m_at));
}

CellValue Evaluator::valueOf(const Operand& operand) {
    if (!operand.area) return operand.value;
    const CellArea& a = *operand.area;
    if (a.rowCount() == 1 && a.columnCount() == 1) return cellValue(a.firstRow, a.firstCol);
    // An area where one value is wanted: the cell in the formula's own row or column.
    if (a.columnCount() == 1 && m_at.row >= a.firstRow && m_at.row <= a.lastRow)
        return cellValue(m_at.row, a.firstCol);
    if (a.rowCount() == 1 && m_at.col >= a.firstCol && m_at.col <= a.lastCol)
        return cellValue(a.firstRow, m_at.col);
    return ErrorValue::Value;
}

CellValue Evaluator::unary(const Unary& node) {
    const Converted<double> operand = toNumber(evaluateValue(*node.operand));
    if (const ErrorValue* e = std::get_if<ErrorValue>(&operand)) return *e;
    const double x = std::get<double>(operand);
    switch (node.op) {
    case UnaryOp::Plus: return numberResult(x);
    case UnaryOp::Minus: return numberResult(-x);
    default: return numberResult(x / 100);
    }
}

CellValue Evaluator::binary(const Binary& node) {
    const CellValue left = evaluateValue(*node.left);
    const CellValue right = evaluateValue(*node.right);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&left)) return *e;
    if (const ErrorValue* e = std::get_if<ErrorValue>(&right)) return *e;

    if (isComparison(node.op)) return comparisonHolds(node.op, compareValues(left, right));

    if (node.op == BinaryOp::Concat) {
        const QString joined = std::get<QString>(toText(left)) + std::get<QString>(toText(right));
        if (joined.size() > kMaxTextLength) return ErrorValue::Value;
        return joined;
    }

    const Converted<double> a = toNumber(left);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&a)) return *e;
    const Converted<double> b = toNumber(right);
    if (const ErrorValue* e = std::get_if<ErrorValue>(&b)) return *e;
    return arithmetic(node.op, std::get<double>(a), std::get<double>(b));
}

Operand Evaluator::call(const Call& node) {
    FunctionArgs args(*this, node.args);
    return node.function->evaluate(args);
}

}  // namespace engine::formula
