#pragma once

#include "engine/formula/overloaded.h"
#include "engine/formula/reference.h"
#include "engine/model/cell_types.h"

#include <QString>
#include <memory>
#include <variant>
#include <vector>

namespace engine::formula {

struct FunctionInfo;

// The syntax tree of a formula, shared by evaluation, text output and the file's
// token encoding. Parentheses are kept as nodes so that every text comes back as
// it was written.

enum class UnaryOp { Plus, Minus, Percent };
enum class BinaryOp {
    Add, Subtract, Multiply, Divide, Power, Concat,
    Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
};

struct Node;
using NodePtr = std::unique_ptr<const Node>;

struct NumberLiteral { double value; };
struct TextLiteral { QString value; };
struct BoolLiteral { bool value; };
struct ErrorLiteral { ErrorValue value; };
struct CellRef { RefPart ref; };
struct AreaRef { RefPart first; RefPart last; };
struct Unary { UnaryOp op; NodePtr operand; };
struct Binary { BinaryOp op; NodePtr left; NodePtr right; };
struct Parens { NodePtr inner; };
struct Call { const FunctionInfo* function; std::vector<NodePtr> args; };
struct MissingArg {};  // an empty argument, as in IF(A1,,2)

struct Node {
    std::variant<NumberLiteral, TextLiteral, BoolLiteral, ErrorLiteral, CellRef, AreaRef, Unary, Binary,
                 Parens, Call, MissingArg>
        content;
};

template <class T>
NodePtr makeNode(T&& content) {
    return std::make_unique<const Node>(Node{std::forward<T>(content)});
}

// Size limits that keep every formula within what the file format and the
// recursive walks over the tree can hold.
inline constexpr int kMaxFormulaLength = 1024;  // characters, "=" included
inline constexpr int kMaxTextLiteralLength = 255;
inline constexpr int kMaxNestingDepth = 1024;    // height of the tree

}  // namespace engine::formula
