#pragma once

#include "engine/formula/reference.h"
#include "engine/model/cell_types.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

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

// A formula's tokens; most formulas have few, which then need no allocation.
using Tokens = QVarLengthArray<Token, 16>;

// Splits a formula text (with its leading "=") into tokens, ending with an End
// token, appended to `tokens`. References are read in the given style and must lie
// inside the sheet as seen from `at`; anything that cannot be read fails with a
// description.
void tokenizeFormula(const QString& formula, ReferenceStyle style, CellAddress at, Tokens& tokens);

}  // namespace engine::formula
