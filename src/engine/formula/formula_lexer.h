#pragma once

#include "engine/formula/reference.h"
#include "engine/model/cell_types.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace engine::formula {

enum class TokenKind { Number, Text, Error, Reference, Function, Name, Operator, LeftParen, RightParen, Comma, Colon, End };

// One lexical token of a formula text.
struct Token {
    TokenKind kind = TokenKind::End;
    QStringView source;   // as written (a view of the formula text): spelling, messages
    double number = 0;    // Number
    QString text;         // Text: its value; Function, Name: its spelling
    ErrorValue error = ErrorValue::Null;
    RefPart ref;          // Reference, relative to the formula's cell
};

// Splits a formula text (with its leading "=") into tokens, ending with an End
// token. References are read in the given style and must lie inside the sheet
// as seen from `at`; anything that cannot be read fails with a description.
std::vector<Token> tokenizeFormula(const QString& formula, ReferenceStyle style, CellAddress at);

}  // namespace engine::formula
