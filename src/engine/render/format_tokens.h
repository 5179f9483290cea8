#pragma once

#include <QString>
#include <vector>

// The pieces of a number format such as "$#,##0.00;-$#,##0.00" or "m/d/yyyy".
namespace engine::render {

struct FormatToken {
    enum class Kind {
        Literal,       // text shown as is
        Digit,         // a digit placeholder: text is "0", "#" or "?"
        DecimalPoint,  // "."
        Thousands,     // "," (grouping, or scaling by 1000 after the last digit)
        Percent,       // "%"
        Exponent,      // "E+" or "E-"
        DatePart,      // y.., m.. (month), d.., h.., n.. (minute), s..
        AmPm,          // "AM/PM" or "A/P" as written
        TextValue,     // "@"
        General,       // the word General inside a format
    };
    Kind kind;
    QString text;
};

struct FormatSection {
    std::vector<FormatToken> tokens;

    bool isDate() const;     // shows a date or time
    bool hasNumber() const;  // shows a number (digit placeholders or General)
    bool hasText() const;    // shows a text value ("@")
    bool isEmpty() const { return tokens.empty(); }
};

// The sections of a format, split at the ";" outside quotes and escapes.
std::vector<QString> splitSections(const QString& format);

// The tokens of one section. Bracketed codes are dropped (colours, conditions,
// locales) except a currency symbol "[$€-407]", which is kept as text. An "m" that
// follows an hour or precedes a second is a minute ("n").
FormatSection parseSection(const QString& section);

}  // namespace engine::render
