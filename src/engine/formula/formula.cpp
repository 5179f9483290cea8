#include "engine/formula/formula.h"

#include "engine/formula/ast.h"
#include "engine/formula/biff8_token_reader.h"
#include "engine/formula/biff8_token_writer.h"
#include "engine/formula/evaluator.h"
#include "engine/formula/formula_parser.h"
#include "engine/formula/formula_text.h"

namespace engine::formula {

Formula::Formula(Made, std::unique_ptr<const Node> root, QString writtenR1C1)
    : m_root(std::move(root)), m_writtenR1C1(std::move(writtenR1C1)) {}
Formula::~Formula() = default;

void FormulaDeleter::operator()(const Formula* formula) const { delete formula; }

FormulaPtr Formula::parse(const QString& text, ReferenceStyle style, CellAddress at) {
    NodePtr root = parseFormulaText(text, style, at);
    return FormulaPtr(new Formula(Made{}, std::move(root), style == ReferenceStyle::R1C1 ? text : QString()));
}

FormulaPtr Formula::fromBiff8Tokens(const QByteArray& tokens, CellAddress at) {
    return FormulaPtr(new Formula(Made{}, decodeBiff8Tokens(tokens, at), QString()));
}

QString Formula::toR1C1(CellAddress at) const { return formulaText(*m_root, ReferenceStyle::R1C1, at); }
QString Formula::toA1(CellAddress at) const { return formulaText(*m_root, ReferenceStyle::A1, at); }

CellValue Formula::evaluate(CellAddress at, EvalContext& ctx) const {
    Evaluator evaluator(at, ctx);
    CellValue result = evaluator.evaluateValue(*m_root);
    if (isEmpty(result)) return 0.0;
    return result;
}

namespace {

void visitReferences(const Node& node, CellAddress at, const std::function<void(const CellArea&)>& visit) {
    std::visit(Overloaded{
                   [&](const CellRef& r) {
                       if (r.ref.isInsideSheet(at)) visit(resolveArea(r.ref, r.ref, at));
                   },
                   [&](const AreaRef& a) {
                       if (a.first.isInsideSheet(at) && a.last.isInsideSheet(at)) visit(resolveArea(a.first, a.last, at));
                   },
                   [&](const Unary& u) { visitReferences(*u.operand, at, visit); },
                   [&](const Binary& b) {
                       visitReferences(*b.left, at, visit);
                       visitReferences(*b.right, at, visit);
                   },
                   [&](const Parens& p) { visitReferences(*p.inner, at, visit); },
                   [&](const Call& c) {
                       for (const NodePtr& arg : c.args) visitReferences(*arg, at, visit);
                   },
                   [](const auto&) {},
               },
               node.content);
}

}  // namespace

void Formula::forEachReference(CellAddress at, const std::function<void(const CellArea&)>& visit) const {
    visitReferences(*m_root, at, visit);
}

QByteArray Formula::toBiff8Tokens(CellAddress at) const { return encodeBiff8Tokens(*m_root, at); }

}  // namespace engine::formula
