#include "engine/render/decimal_digits.h"
#include "engine/render/general_number.h"
#include "engine/render/section_format.h"

#include <cmath>
#include <vector>

namespace engine::render {

namespace {

using Kind = FormatToken::Kind;

// What the placeholders of a section ask for.
struct NumberLayout {
    QString integerPlaces;   // the placeholders before the decimal point, e.g. "##0"
    QString fractionPlaces;  // after it, e.g. "00"
    int exponentZeros = 0;   // "0" placeholders of the exponent
    bool grouping = false;
    int thousandsScale = 0;  // commas after the last digit: divide by 1000 each
    int percents = 0;
    bool scientific = false;
};

enum class Phase { Integer, Fraction, Exponent };

bool digitFollows(const std::vector<FormatToken>& tokens, std::size_t i) {
    for (std::size_t j = i + 1; j < tokens.size(); ++j) {
        if (tokens[j].kind == Kind::Digit) return true;
        if (tokens[j].kind == Kind::DecimalPoint || tokens[j].kind == Kind::Exponent) return false;
    }
    return false;
}

NumberLayout analyse(const std::vector<FormatToken>& tokens) {
    NumberLayout layout;
    Phase phase = Phase::Integer;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const FormatToken& t = tokens[i];
        switch (t.kind) {
        case Kind::Digit:
            if (phase == Phase::Integer) layout.integerPlaces += t.text;
            else if (phase == Phase::Fraction) layout.fractionPlaces += t.text;
            else if (t.text == u"0") ++layout.exponentZeros;
            break;
        case Kind::DecimalPoint:
            if (phase == Phase::Integer) phase = Phase::Fraction;
            break;
        case Kind::Thousands:
            if (phase == Phase::Exponent) break;
            if (!digitFollows(tokens, i)) ++layout.thousandsScale;
            else if (phase == Phase::Integer) layout.grouping = true;
            break;
        case Kind::Percent: ++layout.percents; break;
        case Kind::Exponent:
            if (phase != Phase::Exponent) {
                layout.scientific = true;
                phase = Phase::Exponent;
            }
            break;
        default: break;
        }
    }
    return layout;
}

// Writes integer digits onto their placeholders, right to left; the leftmost
// placeholder takes every digit left over. Group separators go every three places.
class IntegerWriter {
public:
    IntegerWriter(const QString& digits, const NumberLayout& layout, const QString& groupSeparator)
        : m_digits(digits == u"0" ? QString() : digits), m_layout(layout), m_groupSeparator(groupSeparator) {}

    // Appends the text for the next integer placeholder.
    void next(QChar placeholder, QString& out) {
        const int count = static_cast<int>(m_layout.integerPlaces.size());
        const int place = count - 1 - m_index;  // 0 is the units place
        if (m_index++ == 0)
            for (int p = static_cast<int>(m_digits.size()) - 1; p > place; --p) writeDigit(out, p);
        if (place < m_digits.size()) writeDigit(out, place);
        else if (placeholder == u'0') writeChar(out, u'0', place);
        else if (placeholder == u'?') out += u' ';
    }

    // Digits shown where a format has no integer placeholders (".00" shows 12.50).
    void all(QString& out) {
        for (int p = static_cast<int>(m_digits.size()) - 1; p >= 0; --p) writeDigit(out, p);
    }

private:
    void writeDigit(QString& out, int place) {
        writeChar(out, m_digits[m_digits.size() - 1 - place], place);
    }
    void writeChar(QString& out, QChar c, int place) const {
        out += c;
        if (m_layout.grouping && place > 0 && place % 3 == 0) out += m_groupSeparator;
    }

    QString m_digits;
    const NumberLayout& m_layout;
    const QString& m_groupSeparator;
    int m_index = 0;
};

// The fraction's character per placeholder: trailing zeros vanish under "#" (no
// character, 0), become blanks under "?".
std::vector<char16_t> fractionTexts(const QString& digits, const QString& places) {
    std::vector<char16_t> texts(static_cast<std::size_t>(places.size()));
    for (qsizetype i = 0; i < places.size(); ++i) texts[static_cast<std::size_t>(i)] = digits[i].unicode();
    for (qsizetype i = places.size() - 1; i >= 0 && digits[i] == u'0'; --i) {
        if (places[i] == u'#') texts[static_cast<std::size_t>(i)] = 0;
        else if (places[i] == u'?') texts[static_cast<std::size_t>(i)] = u' ';
        else break;
    }
    return texts;
}

}  // namespace

QString formatNumberSection(double magnitude, const FormatSection& section, const NumberSymbols& symbols) {
    const NumberLayout layout = analyse(section.tokens);
    double value = std::fabs(magnitude) * std::pow(100.0, layout.percents) /
                   std::pow(1000.0, layout.thousandsScale);

    int exponent = 0;
    if (layout.scientific && value != 0) {
        const int leading = layout.integerPlaces.isEmpty() ? 0 : 1;
        exponent = decimalExponent(value) - leading + 1;
        const int decimals = static_cast<int>(layout.fractionPlaces.size());
        if (roundToDecimals(value / std::pow(10.0, exponent), decimals).integer.size() > leading &&
            leading > 0)
            ++exponent;  // 9.99 rounded up to 10.0
        value /= std::pow(10.0, exponent);
    }
    const DecimalDigits digits = roundToDecimals(value, static_cast<int>(layout.fractionPlaces.size()));
    IntegerWriter integer(digits.integer, layout, symbols.group);
    const std::vector<char16_t> fraction = fractionTexts(digits.fraction, layout.fractionPlaces);

    QString out;
    out.reserve(32);
    Phase phase = Phase::Integer;
    int fractionIndex = 0;
    bool exponentWritten = false;
    for (const FormatToken& t : section.tokens) {
        switch (t.kind) {
        case Kind::Literal: out += t.text; break;
        case Kind::General: out += formatGeneral(value, symbols.decimal); break;
        case Kind::Percent: out += u'%'; break;
        case Kind::DecimalPoint:
            if (phase == Phase::Integer) {
                if (layout.integerPlaces.isEmpty()) integer.all(out);
                out += symbols.decimal;
                phase = Phase::Fraction;
            } else {
                out += symbols.decimal;
            }
            break;
        case Kind::Digit:
            if (phase == Phase::Integer) {
                integer.next(t.text[0], out);
            } else if (phase == Phase::Fraction) {
                if (const char16_t c = fraction[static_cast<std::size_t>(fractionIndex++)]) out += QChar(c);
            } else if (!exponentWritten) {
                out += QString::number(std::abs(exponent))
                           .rightJustified(std::max(layout.exponentZeros, 1), u'0');
                exponentWritten = true;
            }
            break;
        case Kind::Exponent:
            if (phase == Phase::Exponent) break;
            out += u'E';
            if (exponent < 0) out += u'-';
            else if (t.text.endsWith(u'+')) out += u'+';
            phase = Phase::Exponent;
            break;
        default: break;  // commas are grouping or scaling; no text of their own
        }
    }
    return out;
}

QString formatTextSection(const QString& text, const FormatSection& section) {
    QString out;
    for (const FormatToken& t : section.tokens) {
        if (t.kind == Kind::TextValue) out += text;
        else if (t.kind == Kind::Literal) out += t.text;
    }
    return out;
}

}  // namespace engine::render
