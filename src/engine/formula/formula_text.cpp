#include "engine/formula/formula_text.h"

#include "engine/formula/function_table.h"

#include <QStringList>
#include <charconv>

namespace engine::formula {

namespace {

QString numberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer)).toUpper();
}

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(u'"', QLatin1String("\"\""));
    return u'"' + doubled + u'"';
}

const char* spelling(BinaryOp op) {
    switch (op) {
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::Power: return "^";
    case BinaryOp::Concat: return "&";
    case BinaryOp::Equal: return "=";
    case BinaryOp::NotEqual: return "<>";
    case BinaryOp::Less: return "<";
    case BinaryOp::LessEqual: return "<=";
    case BinaryOp::Greater: return ">";
    case BinaryOp::GreaterEqual: return ">=";
    }
    return "?";
}

// Binding strength, loosest first; a tree read from a file may need parentheses
// that its text did not have as nodes.
enum Precedence { kComparison, kConcat, kAdditive, kMultiplicative, kPower, kPercent, kPrefix, kPrimary };

int precedence(BinaryOp op) {
    switch (op) {
    case BinaryOp::Concat: return kConcat;
    case BinaryOp::Add: case BinaryOp::Subtract: return kAdditive;
    case BinaryOp::Multiply: case BinaryOp::Divide: return kMultiplicative;
    case BinaryOp::Power: return kPower;
    default: return kComparison;
    }
}

int precedence(const Node& node) {
    if (const Binary* b = std::get_if<Binary>(&node.content)) return precedence(b->op);
    if (const Unary* u = std::get_if<Unary>(&node.content)) return u->op == UnaryOp::Percent ? kPercent : kPrefix;
    return kPrimary;
}

class Printer {
public:
    Printer(ReferenceStyle style, CellAddress at) : m_style(style), m_at(at) {}

    QString text(const Node& node) const {
        return std::visit(
            Overloaded{
                [](const NumberLiteral& n) { return numberText(n.value); },
                [](const TextLiteral& t) { return quoted(t.value); },
                [](const BoolLiteral& b) { return b.value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); },
                [](const ErrorLiteral& e) { return errorText(e.value); },
                [](const MissingArg&) { return QString(); },
                [this](const CellRef& r) { return ref(r.ref); },
                [this](const AreaRef& a) { return ref(a.first) + u':' + ref(a.last); },
                [this](const Unary& u) {
                    switch (u.op) {
                    case UnaryOp::Plus: return u'+' + operand(*u.operand, kPrefix);
                    case UnaryOp::Minus: return u'-' + operand(*u.operand, kPrefix);
                    default: return operand(*u.operand, kPercent) + u'%';
                    }
                },
                [this](const Binary& b) {
                    // Left-associative: the right side needs a tighter binding.
                    return operand(*b.left, precedence(b.op)) + QLatin1String(spelling(b.op)) +
                           operand(*b.right, precedence(b.op) + 1);
                },
                [this](const Parens& p) { return u'(' + text(*p.inner) + u')'; },
                [this](const Call& c) {
                    QStringList args;
                    for (const NodePtr& a : c.args) args << text(*a);
                    return c.function->displayName() + u'(' + args.join(u',') + u')';
                },
            },
            node.content);
    }

private:
    // The text of an operand that must bind at least as tightly as `needed`.
    QString operand(const Node& node, int needed) const {
        const QString t = text(node);
        return precedence(node) < needed ? u'(' + t + u')' : t;
    }

    QString ref(const RefPart& part) const {
        return m_style == ReferenceStyle::A1 ? toA1(part, m_at) : toR1C1(part);
    }

    ReferenceStyle m_style;
    CellAddress m_at;
};

}  // namespace

QString formulaText(const Node& root, ReferenceStyle style, CellAddress at) {
    return u'=' + Printer(style, at).text(root);
}

}  // namespace engine::formula
