#pragma once

#include "engine/formula/ast.h"
#include "engine/formula/eval_context.h"

#include <optional>

namespace engine::formula {

// What an expression yields: a value, or a reference to an area of the sheet that
// the consumer reads as it needs (SUM walks its cells, an operator takes one value).
struct Operand {
    CellValue value;
    std::optional<CellArea> area;

    static Operand ofValue(CellValue v) { return Operand{std::move(v), std::nullopt}; }
    static Operand ofArea(const CellArea& a) { return Operand{std::monostate{}, a}; }
    bool isReference() const { return area.has_value(); }
};

// Evaluates a formula's tree for the formula's cell `at`. Every cell it needs it
// asks of the context, which also guards against circular references.
class Evaluator {
public:
    Evaluator(CellAddress at, EvalContext& ctx) : m_at(at), m_ctx(ctx) {}

    Operand evaluate(const Node& node);
    // A single value: a reference gives the value of the one cell it meets in the
    // formula's row or column, or #VALUE! when there is none.
    CellValue evaluateValue(const Node& node) { return valueOf(evaluate(node)); }
    CellValue valueOf(const Operand& operand);
    CellValue cellValue(int row, int col) { return m_ctx.valueAt(row, col); }

private:
    Operand reference(const RefPart& first, const RefPart& last);
    CellValue unary(const Unary& node);
    CellValue binary(const Binary& node);
    Operand call(const Call& node);

    CellAddress m_at;
    EvalContext& m_ctx;
};

// The arguments of one function call, evaluated only when the function asks for
// them (IF evaluates just the branch it takes).
class FunctionArgs {
public:
    FunctionArgs(Evaluator& evaluator, const std::vector<NodePtr>& nodes)
        : m_evaluator(evaluator), m_nodes(nodes) {}

    int count() const { return static_cast<int>(m_nodes.size()); }
    bool isMissing(int index) const;
    Operand operand(int index) { return m_evaluator.evaluate(*m_nodes.at(index)); }
    CellValue value(int index) { return m_evaluator.evaluateValue(*m_nodes.at(index)); }
    CellValue cellValue(int row, int col) { return m_evaluator.cellValue(row, col); }

private:
    Evaluator& m_evaluator;
    const std::vector<NodePtr>& m_nodes;
};

}  // namespace engine::formula
