#include "engine/formula/biff8_token_reader.h"

#include "engine/formula/biff8_ptg.h"
#include "engine/formula/error_literals.h"
#include "engine/formula/function_table.h"
#include "engine/model/engine_error.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace engine::formula {

namespace {

constexpr int kMaxTokenBytes = 0xFFFF;  // the record's length field

std::optional<BinaryOp> binaryOp(std::uint8_t id) {
    switch (id) {
    case ptg::Add: return BinaryOp::Add;
    case ptg::Sub: return BinaryOp::Subtract;
    case ptg::Mul: return BinaryOp::Multiply;
    case ptg::Div: return BinaryOp::Divide;
    case ptg::Power: return BinaryOp::Power;
    case ptg::Concat: return BinaryOp::Concat;
    case ptg::LT: return BinaryOp::Less;
    case ptg::LE: return BinaryOp::LessEqual;
    case ptg::EQ: return BinaryOp::Equal;
    case ptg::GE: return BinaryOp::GreaterEqual;
    case ptg::GT: return BinaryOp::Greater;
    case ptg::NE: return BinaryOp::NotEqual;
    default: return std::nullopt;
    }
}

class TokenReader {
public:
    TokenReader(const QByteArray& bytes, CellAddress at) : m_bytes(bytes), m_at(at) {}

    NodePtr run() {
        if (m_bytes.size() > kMaxTokenBytes) fail(QStringLiteral("it is too long"));
        while (m_pos < m_bytes.size()) token();
        if (m_stack.size() != 1) fail(QStringLiteral("its tokens do not form one expression"));
        return popOperand().node;
    }

private:
    struct Item {
        NodePtr node;
        int height;
    };

    [[noreturn]] void fail(const QString& reason) const {
        throw EngineError(QStringLiteral("The formula stored in the file cannot be read: %1.").arg(reason));
    }

    void need(int count) const {
        if (m_bytes.size() - m_pos < count) fail(QStringLiteral("its tokens are cut short"));
    }
    std::uint8_t u8() {
        need(1);
        return static_cast<std::uint8_t>(m_bytes[m_pos++]);
    }
    std::uint16_t u16() {
        need(2);
        const auto v = qFromLittleEndian<std::uint16_t>(m_bytes.constData() + m_pos);
        m_pos += 2;
        return v;
    }
    double f64() {
        need(8);
        const auto v = qFromLittleEndian<double>(m_bytes.constData() + m_pos);
        m_pos += 8;
        return v;
    }
    void skip(int count) {
        need(count);
        m_pos += count;
    }

    void push(NodePtr node, int height) {
        if (height > kMaxNestingDepth) fail(QStringLiteral("it is nested too deeply"));
        m_stack.push_back(Item{std::move(node), height});
    }
    void pushLeaf(NodePtr node) { push(std::move(node), 1); }

    Item pop() {
        if (m_stack.empty()) fail(QStringLiteral("an operator lacks its operands"));
        Item item = std::move(m_stack.back());
        m_stack.pop_back();
        return item;
    }
    // An operand of an operator: an empty argument is no value.
    Item popOperand() {
        Item item = pop();
        if (std::holds_alternative<MissingArg>(item.node->content))
            fail(QStringLiteral("an empty argument stands outside a function"));
        return item;
    }

    void token() {
        const int offset = m_pos;
        const std::uint8_t id = u8();
        if (const std::optional<BinaryOp> op = binaryOp(id)) {
            Item right = popOperand();
            Item left = popOperand();
            const int height = 1 + std::max(left.height, right.height);
            push(makeNode(Binary{*op, std::move(left.node), std::move(right.node)}), height);
            return;
        }
        switch (ptg::baseId(id)) {
        case ptg::Uplus: return unary(UnaryOp::Plus);
        case ptg::Uminus: return unary(UnaryOp::Minus);
        case ptg::Percent: return unary(UnaryOp::Percent);
        case ptg::Paren: {
            Item inner = popOperand();
            return push(makeNode(Parens{std::move(inner.node)}), inner.height + 1);
        }
        case ptg::MissArg: return pushLeaf(makeNode(MissingArg{}));
        case ptg::Str: return pushLeaf(makeNode(TextLiteral{string()}));
        case ptg::Attr: return attribute();
        case ptg::Err: {
            const std::optional<ErrorValue> e = errorValueFromCode(u8());
            if (!e) fail(QStringLiteral("it holds an unknown error value"));
            return pushLeaf(makeNode(ErrorLiteral{*e}));
        }
        case ptg::Bool: return pushLeaf(makeNode(BoolLiteral{u8() != 0}));
        case ptg::Int: return pushLeaf(makeNode(NumberLiteral{static_cast<double>(u16())}));
        case ptg::Num: {
            const double v = f64();
            if (!std::isfinite(v)) fail(QStringLiteral("it holds an invalid number"));
            return pushLeaf(makeNode(NumberLiteral{v}));
        }
        case ptg::Func: return function(u16(), std::nullopt);
        case ptg::FuncVar: {
            const int count = u8() & 0x7F;
            const int index = u16();
            return function(index, count);
        }
        case ptg::Ref: {
            const std::uint16_t row = u16();
            const std::uint16_t col = u16();
            return pushLeaf(makeNode(CellRef{refPart(row, col)}));
        }
        case ptg::Area: {
            const std::uint16_t firstRow = u16();
            const std::uint16_t lastRow = u16();
            const std::uint16_t firstCol = u16();
            const std::uint16_t lastCol = u16();
            return pushLeaf(makeNode(AreaRef{refPart(firstRow, firstCol), refPart(lastRow, lastCol)}));
        }
        case ptg::RefErr:
            skip(4);
            return pushLeaf(makeNode(ErrorLiteral{ErrorValue::Ref}));
        case ptg::AreaErr:
            skip(8);
            return pushLeaf(makeNode(ErrorLiteral{ErrorValue::Ref}));
        case ptg::Exp:
        case ptg::Tbl:
        case ptg::RefN:
        case ptg::AreaN:
            fail(QStringLiteral("shared and table formulas are not supported"));
        case ptg::Name:
        case 0x39:  // ptgNameX
        case 0x3A:  // ptgRef3d
        case 0x3B:  // ptgArea3d
        case 0x3C:  // ptgRefErr3d
        case 0x3D:  // ptgAreaErr3d
            fail(QStringLiteral("it refers to names, other sheets or workbooks, which are not supported"));
        default:
            fail(QStringLiteral("token 0x%1 at byte %2 is not supported")
                     .arg(id, 2, 16, QChar(u'0'))
                     .arg(offset));
        }
    }

    void unary(UnaryOp op) {
        Item operand = popOperand();
        push(makeNode(Unary{op, std::move(operand.node)}), operand.height + 1);
    }

    // Length, flags (bit 0: two bytes per character), characters.
    QString string() {
        const int length = u8();
        const std::uint8_t flags = u8();
        if (flags & ~0x01) fail(QStringLiteral("a text token has unknown flags"));
        QString s;
        if (flags & 0x01) {
            need(2 * length);
            for (int i = 0; i < length; ++i) s += QChar(u16());
        } else {
            need(length);
            s = QString::fromLatin1(m_bytes.constData() + m_pos, length);
            m_pos += length;
        }
        return s;
    }

    // Attributes mark spaces and jump tables for faster evaluation; only the sum
    // attribute changes the expression (SUM of the operand on the stack).
    void attribute() {
        const std::uint8_t flags = u8();
        const std::uint16_t data = u16();
        constexpr std::uint8_t known = ptg::AttrVolatile | ptg::AttrIf | ptg::AttrChoose | ptg::AttrSkip |
                                       ptg::AttrSum | ptg::AttrAssignment | ptg::AttrSpace;
        if (flags & ~known) fail(QStringLiteral("an attribute token has unknown flags"));
        if (flags & ptg::AttrChoose) skip(2 * (data + 1));
        if (flags & ptg::AttrSum) {
            std::vector<Item> args;
            args.push_back(popOperand());
            finishCall(findFunctionByIndex(ptg::kSumFunctionIndex), std::move(args));
        }
    }

    // A function call: fixed functions carry no count (nullopt), the others do.
    void function(int index, std::optional<int> count) {
        const FunctionInfo* f = findFunctionByIndex(index & 0x7FFF);
        if (!f || (index & 0x8000)) fail(QStringLiteral("it calls function number %1, which is not supported").arg(index));
        if (count ? *count < f->minArgs || *count > f->maxArgs : !f->hasFixedArgCount())
            fail(QStringLiteral("the function %1 has a wrong number of arguments").arg(f->displayName()));
        const int n = count.value_or(f->minArgs);
        if (static_cast<int>(m_stack.size()) < n) fail(QStringLiteral("a function lacks its arguments"));
        std::vector<Item> args;
        for (int i = 0; i < n; ++i) args.push_back(pop());
        std::reverse(args.begin(), args.end());
        finishCall(f, std::move(args));
    }

    void finishCall(const FunctionInfo* f, std::vector<Item> args) {
        // "F()" is read as no arguments, so a lone empty argument has no text of its own.
        if (args.size() == 1 && std::holds_alternative<MissingArg>(args.front().node->content))
            fail(QStringLiteral("the function %1 has a single empty argument").arg(f->displayName()));
        int height = 0;
        std::vector<NodePtr> nodes;
        for (Item& a : args) {
            height = std::max(height, a.height);
            nodes.push_back(std::move(a.node));
        }
        push(makeNode(Call{f, std::move(nodes)}), height + 1);
    }

    RefPart refPart(std::uint16_t row, std::uint16_t colField) const {
        return RefPart::fromAbsolute(row, colField & ptg::kColumnMask, (colField & ptg::kRowRelative) != 0,
                                     (colField & ptg::kColumnRelative) != 0, m_at);
    }

    const QByteArray& m_bytes;
    CellAddress m_at;
    int m_pos = 0;
    std::vector<Item> m_stack;
};

}  // namespace

NodePtr decodeBiff8Tokens(const QByteArray& tokens, CellAddress at) {
    return TokenReader(tokens, at).run();
}

}  // namespace engine::formula
