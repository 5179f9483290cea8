#include "engine/formula/formula_parser.h"

#include "engine/formula/formula_lexer.h"
#include "engine/formula/function_table.h"
#include "engine/formula/syntax_error.h"

#include <optional>

namespace engine::formula {

namespace {

// Binary operators with their precedence level, loosest first.
struct BinaryOperator {
    BinaryOp op;
    int level;
};
constexpr int kLevelCount = 5;

// Whether the token is the one-character operator c.
bool isOperator(const Token& t, char16_t c) {
    return t.kind == TokenKind::Operator && t.source.size() == 1 && t.source.front() == c;
}

// The binary operator a token spells, if any.
std::optional<BinaryOperator> binaryOperatorOf(const Token& t) {
    if (t.kind != TokenKind::Operator) return std::nullopt;
    const QStringView s = t.source;
    const char16_t second = s.size() > 1 ? s[1].unicode() : u'\0';
    switch (s[0].unicode()) {
    case u'=': return BinaryOperator{BinaryOp::Equal, 0};
    case u'<':
        if (second == u'>') return BinaryOperator{BinaryOp::NotEqual, 0};
        if (second == u'=') return BinaryOperator{BinaryOp::LessEqual, 0};
        return BinaryOperator{BinaryOp::Less, 0};
    case u'>': return BinaryOperator{second == u'=' ? BinaryOp::GreaterEqual : BinaryOp::Greater, 0};
    case u'&': return BinaryOperator{BinaryOp::Concat, 1};
    case u'+': return BinaryOperator{BinaryOp::Add, 2};
    case u'-': return BinaryOperator{BinaryOp::Subtract, 2};
    case u'*': return BinaryOperator{BinaryOp::Multiply, 3};
    case u'/': return BinaryOperator{BinaryOp::Divide, 3};
    case u'^': return BinaryOperator{BinaryOp::Power, 4};
    default: return std::nullopt;  // "%" follows its operand
    }
}

// Recursive descent over the tokens, binary operators by precedence climbing.
// Precedence from loosest to tightest: comparison, &, + -, * /, ^, postfix %,
// prefix + - (so -2^2 is 4); binary operators of one level group from the left.
class Parser {
public:
    Parser(const QString& formula, const Tokens& tokens) : m_formula(formula), m_tokens(tokens) {}

    NodePtr run() {
        if (peek().kind == TokenKind::End) throwSyntaxError(m_formula, QStringLiteral("the formula is empty"));
        NodePtr root = expression(0);
        if (peek().kind == TokenKind::RightParen)
            throwSyntaxError(m_formula, QStringLiteral("there is a \")\" without a matching \"(\""));
        if (peek().kind != TokenKind::End) fail(QStringLiteral("\"%1\" is not expected here").arg(peek().source));
        return root;
    }

private:
    const Token& peek() const { return m_tokens[m_pos]; }
    const Token& take() { return m_tokens[m_pos++]; }
    [[noreturn]] void fail(const QString& reason) const { throwSyntaxError(m_formula, reason); }

    // An operand followed by binary operators of the given level or tighter.
    NodePtr expression(int level) {
        if (level == kLevelCount) return postfix();
        NodePtr left = postfix();
        for (;;) {
            const std::optional<BinaryOperator> op = binaryOperatorOf(peek());
            if (!op || op->level < level) return left;
            const QStringView spelling = take().source;
            NodePtr right = operandAfter(spelling, op->level + 1);
            left = makeNode(Binary{op->op, std::move(left), std::move(right)});
        }
    }

    // The operand after an operator, with a clear message when there is none.
    NodePtr operandAfter(QStringView spelling, int level) {
        const TokenKind k = peek().kind;
        if (k == TokenKind::End || k == TokenKind::RightParen || k == TokenKind::Comma ||
            (k == TokenKind::Operator && !isOperator(peek(), u'+') && !isOperator(peek(), u'-')))
            fail(QStringLiteral("a value is missing after \"%1\"").arg(spelling));
        return expression(level);
    }

    NodePtr postfix() {
        NodePtr node = prefix();
        while (isOperator(peek(), u'%')) {
            take();
            node = makeNode(Unary{UnaryOp::Percent, std::move(node)});
        }
        return node;
    }

    NodePtr prefix() {
        if (isOperator(peek(), u'+') || isOperator(peek(), u'-')) {
            const Token& sign = take();
            const UnaryOp op = isOperator(sign, u'-') ? UnaryOp::Minus : UnaryOp::Plus;
            if (peek().kind == TokenKind::End || peek().kind == TokenKind::RightParen || peek().kind == TokenKind::Comma)
                fail(QStringLiteral("a value is missing after \"%1\"").arg(sign.source));
            return makeNode(Unary{op, prefix()});
        }
        return primary();
    }

    NodePtr primary() {
        const Token& t = take();
        switch (t.kind) {
        case TokenKind::Number: return makeNode(NumberLiteral{t.number});
        case TokenKind::Text: return makeNode(TextLiteral{t.text});
        case TokenKind::Error: return makeNode(ErrorLiteral{t.error});
        case TokenKind::Name: return name(t);
        case TokenKind::Reference: return reference(t);
        case TokenKind::Function: return call(t);
        case TokenKind::LeftParen: {
            NodePtr inner = expression(0);
            if (peek().kind != TokenKind::RightParen) missingCloseOr(peek());
            take();
            return makeNode(Parens{std::move(inner)});
        }
        case TokenKind::End: fail(QStringLiteral("the formula ends where a value is expected"));
        case TokenKind::RightParen: fail(QStringLiteral("a value is missing before \")\""));
        default: fail(QStringLiteral("\"%1\" is not expected here").arg(t.source));
        }
    }

    [[noreturn]] void missingCloseOr(const Token& found) const {
        if (found.kind == TokenKind::End) fail(QStringLiteral("a closing parenthesis is missing"));
        fail(QStringLiteral("\"%1\" is not expected here").arg(found.source));
    }

    NodePtr name(const Token& t) {
        if (t.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return makeNode(BoolLiteral{true});
        if (t.text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return makeNode(BoolLiteral{false});
        fail(QStringLiteral("the name \"%1\" is not defined").arg(t.text));
    }

    NodePtr reference(const Token& first) {
        if (peek().kind != TokenKind::Colon) return makeNode(CellRef{first.ref});
        take();
        if (peek().kind != TokenKind::Reference)
            fail(QStringLiteral("a reference is missing after \"%1:\"").arg(first.source));
        const Token& last = take();
        if (peek().kind == TokenKind::Colon) fail(QStringLiteral("an area has only two corners"));
        return makeNode(AreaRef{first.ref, last.ref});
    }

    NodePtr call(const Token& nameToken) {
        const FunctionInfo* function = findFunction(nameToken.text);
        if (!function) fail(QStringLiteral("the function %1 does not exist").arg(nameToken.text.toUpper()));
        take();  // "("
        std::vector<NodePtr> args;
        if (peek().kind != TokenKind::RightParen) {
            for (;;) {
                if (peek().kind == TokenKind::Comma || peek().kind == TokenKind::RightParen)
                    args.push_back(makeNode(MissingArg{}));
                else
                    args.push_back(expression(0));
                if (peek().kind != TokenKind::Comma) break;
                take();
            }
        }
        if (peek().kind != TokenKind::RightParen) missingCloseOr(peek());
        take();
        checkArgumentCount(*function, static_cast<int>(args.size()));
        return makeNode(Call{function, std::move(args)});
    }

    void checkArgumentCount(const FunctionInfo& f, int count) const {
        if (count >= f.minArgs && count <= f.maxArgs) return;
        const auto arguments = [](int n) {
            return n == 1 ? QStringLiteral("1 argument") : QStringLiteral("%1 arguments").arg(n);
        };
        if (f.hasFixedArgCount())
            fail(QStringLiteral("the function %1 takes %2, not %3").arg(f.displayName(), arguments(f.minArgs)).arg(count));
        if (count < f.minArgs)
            fail(QStringLiteral("the function %1 takes at least %2").arg(f.displayName(), arguments(f.minArgs)));
        fail(QStringLiteral("the function %1 takes at most %2").arg(f.displayName(), arguments(f.maxArgs)));
    }

    const QString& m_formula;
    const Tokens& m_tokens;
    qsizetype m_pos = 0;
};

}  // namespace

NodePtr parseFormulaText(const QString& formula, ReferenceStyle style, CellAddress at) {
    if (!formula.startsWith(u'=')) throwSyntaxError(formula, QStringLiteral("a formula starts with \"=\""));
    if (formula.size() > kMaxFormulaLength)
        throwSyntaxError(formula.left(40) + QStringLiteral("..."),
                         QStringLiteral("formulas are limited to %1 characters").arg(kMaxFormulaLength));
    Tokens tokens;
    tokenizeFormula(formula, style, at, tokens);
    return Parser(formula, tokens).run();
}

}  // namespace engine::formula
