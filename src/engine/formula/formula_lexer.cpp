#include "engine/formula/formula_lexer.h"

#include "engine/formula/ast.h"
#include "engine/formula/error_literals.h"
#include "engine/formula/syntax_error.h"

#include <charconv>
#include <optional>

namespace engine::formula {

namespace {

bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isNameChar(QChar c) { return isAsciiLetter(c) || isDigit(c) || c == u'_' || c == u'.'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
// Whether c is the ASCII letter `upper` in either case.
bool isLetter(QChar c, char16_t upper) { return c == upper || c == char16_t(upper + (u'a' - u'A')); }

// Large enough to tell any row or column beyond the sheet, small enough for an int.
constexpr int kMaxCoordinateDigits = 7;

class Lexer {
public:
    Lexer(const QString& formula, ReferenceStyle style, CellAddress at, Tokens& tokens)
        : m_formula(formula), m_style(style), m_at(at), m_tokens(tokens) {}

    void run() {
        m_pos = 1;  // after "="
        for (;;) {
            while (m_pos < m_formula.size() && isBlank(m_formula[m_pos])) ++m_pos;
            if (m_pos >= m_formula.size()) break;
            m_tokens.push_back(next());
        }
        m_tokens.push_back(Token{});
    }

private:
    QChar at(int i) const { return i < m_formula.size() ? m_formula[i] : QChar(); }

    Token next() {
        const QChar c = at(m_pos);
        if (isDigit(c) || (c == u'.' && isDigit(at(m_pos + 1)))) return number();
        if (c == u'"') return text();
        if (c == u'#') return errorLiteral();
        if (isAsciiLetter(c) || c == u'$' || c == u'_') return referenceOrName();
        return punctuation();
    }

    Token make(TokenKind kind, int start) {
        Token t;
        t.kind = kind;
        t.source = QStringView(m_formula.constData() + start, m_pos - start);
        return t;
    }

    Token number() {
        const int start = m_pos;
        while (isDigit(at(m_pos))) ++m_pos;
        if (at(m_pos) == u'.') {
            ++m_pos;
            while (isDigit(at(m_pos))) ++m_pos;
        }
        if (at(m_pos) == u'e' || at(m_pos) == u'E') {
            int i = m_pos + 1;
            if (at(i) == u'+' || at(i) == u'-') ++i;
            if (isDigit(at(i))) {
                while (isDigit(at(i))) ++i;
                m_pos = i;
            }
        }
        Token t = make(TokenKind::Number, start);
        if (isNameChar(at(m_pos)))
            throwSyntaxError(m_formula, QStringLiteral("\"%1\" is not a valid number").arg(t.source.toString() + at(m_pos)));
        const QByteArray latin = t.source.toLatin1();
        const auto [end, error] = std::from_chars(latin.constData(), latin.constData() + latin.size(), t.number);
        if (error == std::errc::result_out_of_range) {
            // Too small for a double reads as 0, as in typed input; too large is refused.
            if (!latin.contains("e-") && !latin.contains("E-"))
                throwSyntaxError(m_formula, QStringLiteral("the number %1 is too large").arg(t.source));
            t.number = 0;
        }
        return t;
    }

    Token text() {
        const int start = m_pos++;
        QString value;
        for (;;) {
            if (m_pos >= m_formula.size())
                throwSyntaxError(m_formula, QStringLiteral("a text is missing its closing quotation mark"));
            const QChar c = m_formula[m_pos++];
            if (c != u'"') {
                value += c;
            } else if (at(m_pos) == u'"') {
                value += c;
                ++m_pos;
            } else {
                break;
            }
        }
        if (value.size() > kMaxTextLiteralLength)
            throwSyntaxError(m_formula, QStringLiteral("text values in formulas are limited to %1 characters")
                                            .arg(kMaxTextLiteralLength));
        Token t = make(TokenKind::Text, start);
        t.text = value;
        return t;
    }

    Token errorLiteral() {
        const int start = m_pos;
        const std::optional<ErrorValue> error = errorValueAtStart(QStringView(m_formula).mid(m_pos));
        if (!error) throwSyntaxError(m_formula, QStringLiteral("\"%1\" is not a valid error value").arg(wordAt(m_pos)));
        m_pos += errorText(*error).size();
        Token t = make(TokenKind::Error, start);
        t.error = *error;
        return t;
    }

    // The run of characters at `i` that could belong to one word, for messages.
    QString wordAt(int i) const {
        int end = i + 1;
        while (end < m_formula.size() && !isBlank(m_formula[end]) && QStringLiteral("+-*/^&=<>(),:%").indexOf(m_formula[end]) < 0)
            ++end;
        return m_formula.mid(i, end - i);
    }

    // Whether a reference may end at `i`: no name character, call or sheet mark follows.
    bool isReferenceEnd(int i) const {
        const QChar c = at(i);
        return !isNameChar(c) && c != u'(' && c != u'!' && c != u'$' && c != u'[';
    }

    Token referenceOrName() {
        const int start = m_pos;
        if (std::optional<RefPart> ref = m_style == ReferenceStyle::A1 ? a1Reference() : r1c1Reference()) {
            Token t = make(TokenKind::Reference, start);
            t.ref = *ref;
            if (!ref->isInsideSheet(m_at))
                throwSyntaxError(m_formula, QStringLiteral("the reference %1 lies outside the sheet").arg(t.source));
            return t;
        }
        m_pos = start;
        if (!isAsciiLetter(at(m_pos)) && at(m_pos) != u'_')
            throwSyntaxError(m_formula, QStringLiteral("\"%1\" is not a valid reference").arg(wordAt(start)));
        while (isNameChar(at(m_pos))) ++m_pos;
        Token t = make(at(m_pos) == u'(' ? TokenKind::Function : TokenKind::Name, start);
        t.text = t.source.toString();
        if (at(m_pos) == u'!' || at(m_pos) == u'[')
            throwSyntaxError(m_formula, QStringLiteral("references to other sheets or workbooks are not supported"));
        return t;
    }

    // Digits at m_pos, at most kMaxCoordinateDigits of them counted; nullopt when none.
    std::optional<int> digits() {
        const int start = m_pos;
        int value = 0;
        while (isDigit(at(m_pos))) {
            if (m_pos - start < kMaxCoordinateDigits) value = value * 10 + (at(m_pos).unicode() - u'0');
            else value = kMaxRows + 1;  // surely beyond the sheet
            ++m_pos;
        }
        if (m_pos == start) return std::nullopt;
        return value;
    }

    // "$B$4", "B4", "$B4", "B$4".
    std::optional<RefPart> a1Reference() {
        const bool colAbsolute = at(m_pos) == u'$';
        if (colAbsolute) ++m_pos;
        int letters = 0, col = 0;
        while (isAsciiLetter(at(m_pos)) && letters < 4) {
            col = col * 26 + ((at(m_pos).unicode() & ~0x20) - u'A' + 1);  // either case
            ++letters;
            ++m_pos;
        }
        if (letters == 0 || letters > 3) return std::nullopt;
        const bool rowAbsolute = at(m_pos) == u'$';
        if (rowAbsolute) ++m_pos;
        const std::optional<int> row = digits();
        if (!row || !isReferenceEnd(m_pos)) return std::nullopt;
        return RefPart::fromAbsolute(*row - 1, col - 1, !rowAbsolute, !colAbsolute, m_at);
    }

    // One coordinate after "R" or "C": "[-3]" or "[+4]" relative, "4" absolute, nothing
    // for the formula's own row or column. Returns the value and whether it is relative.
    std::optional<std::pair<int, bool>> r1c1Coordinate() {
        if (at(m_pos) == u'[') {
            ++m_pos;
            const bool negative = at(m_pos) == u'-';
            if (negative || at(m_pos) == u'+') ++m_pos;
            const std::optional<int> offset = digits();
            if (!offset || at(m_pos) != u']') return std::nullopt;
            ++m_pos;
            return std::pair{negative ? -*offset : *offset, true};
        }
        if (const std::optional<int> index = digits()) return std::pair{*index - 1, false};
        return std::pair{0, true};
    }

    // "R4C2", "RC[-1]", "R[-3]C[-2]", "R[+4]C".
    std::optional<RefPart> r1c1Reference() {
        if (!isLetter(at(m_pos), u'R')) return std::nullopt;
        ++m_pos;
        const auto row = r1c1Coordinate();
        if (!row || !isLetter(at(m_pos), u'C')) return std::nullopt;
        ++m_pos;
        const auto col = r1c1Coordinate();
        if (!col || !isReferenceEnd(m_pos)) return std::nullopt;
        return RefPart{row->first, col->first, row->second, col->second};
    }

    Token punctuation() {
        const int start = m_pos;
        const QChar c = at(m_pos++);
        const QChar n = at(m_pos);
        switch (c.unicode()) {
        case u'(': return make(TokenKind::LeftParen, start);
        case u')': return make(TokenKind::RightParen, start);
        case u',': return make(TokenKind::Comma, start);
        case u':': return make(TokenKind::Colon, start);
        case u'<':
            if (n == u'=' || n == u'>') ++m_pos;
            return operatorToken(start);
        case u'>':
            if (n == u'=') ++m_pos;
            return operatorToken(start);
        case u'+': case u'-': case u'*': case u'/': case u'^': case u'&': case u'%': case u'=':
            return operatorToken(start);
        default:
            if (c == u'\'' || c == u'!' || c == u'[')
                throwSyntaxError(m_formula, QStringLiteral("references to other sheets or workbooks are not supported"));
            throwSyntaxError(m_formula, QStringLiteral("the character \"%1\" is not allowed here").arg(c));
        }
    }

    Token operatorToken(int start) { return make(TokenKind::Operator, start); }

    const QString& m_formula;
    ReferenceStyle m_style;
    CellAddress m_at;
    int m_pos = 0;
    Tokens& m_tokens;
};

}  // namespace

void tokenizeFormula(const QString& formula, ReferenceStyle style, CellAddress at, Tokens& tokens) {
    Lexer(formula, style, at, tokens).run();
}

}  // namespace engine::formula
