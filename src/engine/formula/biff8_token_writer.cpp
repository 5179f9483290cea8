#include "engine/formula/biff8_token_writer.h"

#include "engine/formula/biff8_ptg.h"
#include "engine/formula/function_table.h"

#include <QtEndian>
#include <cmath>

namespace engine::formula {

namespace {

std::uint8_t binaryPtg(BinaryOp op) {
    switch (op) {
    case BinaryOp::Add: return ptg::Add;
    case BinaryOp::Subtract: return ptg::Sub;
    case BinaryOp::Multiply: return ptg::Mul;
    case BinaryOp::Divide: return ptg::Div;
    case BinaryOp::Power: return ptg::Power;
    case BinaryOp::Concat: return ptg::Concat;
    case BinaryOp::Less: return ptg::LT;
    case BinaryOp::LessEqual: return ptg::LE;
    case BinaryOp::Equal: return ptg::EQ;
    case BinaryOp::GreaterEqual: return ptg::GE;
    case BinaryOp::Greater: return ptg::GT;
    case BinaryOp::NotEqual: return ptg::NE;
    }
    return ptg::Add;
}

std::uint8_t unaryPtg(UnaryOp op) {
    switch (op) {
    case UnaryOp::Plus: return ptg::Uplus;
    case UnaryOp::Minus: return ptg::Uminus;
    case UnaryOp::Percent: return ptg::Percent;
    }
    return ptg::Uplus;
}

bool fitsInt(double v) {
    return v >= 0 && v <= 65535 && v == std::floor(v) && !std::signbit(v);
}

bool isLatin1(const QString& s) {
    for (QChar c : s)
        if (c.unicode() > 0xFF) return false;
    return true;
}

// Writes tokens in reverse Polish order. Operands of operators and value
// parameters are value class; reference parameters (SUM's) keep the reference class.
class TokenWriter {
public:
    explicit TokenWriter(CellAddress at) : m_at(at) {}

    QByteArray take() { return std::move(m_out); }

    void write(const Node& node, ParamClass cls) {
        std::visit(
            Overloaded{
                [this](const NumberLiteral& n) { number(n.value); },
                [this](const TextLiteral& t) { text(t.value); },
                [this](const BoolLiteral& b) { u8(ptg::Bool); u8(b.value ? 1 : 0); },
                [this](const ErrorLiteral& e) { u8(ptg::Err); u8(static_cast<std::uint8_t>(e.value)); },
                [this](const MissingArg&) { u8(ptg::MissArg); },
                [this, cls](const CellRef& r) { reference(r.ref, cls); },
                [this, cls](const AreaRef& a) { area(a.first, a.last, cls); },
                [this](const Unary& u) {
                    write(*u.operand, ParamClass::Value);
                    u8(unaryPtg(u.op));
                },
                [this](const Binary& b) {
                    write(*b.left, ParamClass::Value);
                    write(*b.right, ParamClass::Value);
                    u8(binaryPtg(b.op));
                },
                [this, cls](const Parens& p) {
                    write(*p.inner, cls);
                    u8(ptg::Paren);
                },
                [this](const Call& c) { call(c); },
            },
            node.content);
    }

private:
    void u8(std::uint8_t v) { m_out.append(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        char b[2];
        qToLittleEndian(v, b);
        m_out.append(b, 2);
    }

    static std::uint8_t classed(std::uint8_t id, ParamClass cls) {
        return cls == ParamClass::Value ? static_cast<std::uint8_t>(id + ptg::kValueClass) : id;
    }

    void number(double v) {
        if (fitsInt(v)) {
            u8(ptg::Int);
            u16(static_cast<std::uint16_t>(v));
            return;
        }
        u8(ptg::Num);
        char b[8];
        qToLittleEndian(v, b);
        m_out.append(b, 8);
    }

    // Length, a flags byte (1: two bytes per character), the characters.
    void text(const QString& s) {
        u8(ptg::Str);
        u8(static_cast<std::uint8_t>(s.size()));
        if (isLatin1(s)) {
            u8(0);
            m_out.append(s.toLatin1());
        } else {
            u8(1);
            for (QChar c : s) u16(c.unicode());
        }
    }

    std::uint16_t columnField(const RefPart& p) const {
        return static_cast<std::uint16_t>(p.absoluteCol(m_at) | (p.colRelative ? ptg::kColumnRelative : 0) |
                                          (p.rowRelative ? ptg::kRowRelative : 0));
    }

    void reference(const RefPart& p, ParamClass cls) {
        if (!p.isInsideSheet(m_at)) {
            u8(classed(ptg::RefErr, cls));
            m_out.append(4, '\0');
            return;
        }
        u8(classed(ptg::Ref, cls));
        u16(static_cast<std::uint16_t>(p.absoluteRow(m_at)));
        u16(columnField(p));
    }

    void area(const RefPart& first, const RefPart& last, ParamClass cls) {
        if (!first.isInsideSheet(m_at) || !last.isInsideSheet(m_at)) {
            u8(classed(ptg::AreaErr, cls));
            m_out.append(8, '\0');
            return;
        }
        u8(classed(ptg::Area, cls));
        u16(static_cast<std::uint16_t>(first.absoluteRow(m_at)));
        u16(static_cast<std::uint16_t>(last.absoluteRow(m_at)));
        u16(columnField(first));
        u16(columnField(last));
    }

    void call(const Call& c) {
        for (std::size_t i = 0; i < c.args.size(); ++i) write(*c.args[i], c.function->paramClass(static_cast<int>(i)));
        if (c.function->hasFixedArgCount()) {
            u8(classed(ptg::Func, ParamClass::Value));
        } else {
            u8(classed(ptg::FuncVar, ParamClass::Value));
            u8(static_cast<std::uint8_t>(c.args.size()));
        }
        u16(static_cast<std::uint16_t>(c.function->biffIndex));
    }

    CellAddress m_at;
    QByteArray m_out;
};

}  // namespace

QByteArray encodeBiff8Tokens(const Node& root, CellAddress at) {
    TokenWriter writer(at);
    writer.write(root, ParamClass::Value);
    return writer.take();
}

}  // namespace engine::formula
