#include "engine/render/format_tokens.h"

#include <algorithm>

namespace engine::render {

using Kind = FormatToken::Kind;

bool FormatSection::isDate() const {
    return std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
        return t.kind == Kind::DatePart || t.kind == Kind::AmPm;
    });
}

bool FormatSection::hasNumber() const {
    return std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
        return t.kind == Kind::Digit || t.kind == Kind::General;
    });
}

bool FormatSection::hasText() const {
    return std::any_of(tokens.begin(), tokens.end(),
                       [](const FormatToken& t) { return t.kind == Kind::TextValue; });
}

std::vector<QString> splitSections(const QString& format) {
    std::vector<QString> sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (quoted) {
            if (c == u'"') quoted = false;
            current += c;
        } else if (c == u'"') {
            quoted = true;
            current += c;
        } else if ((c == u'\\' || c == u'_' || c == u'*') && i + 1 < format.size()) {
            current += c;
            current += format[++i];
        } else if (c == u';') {
            sections.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    sections.push_back(current);
    return sections;
}

namespace {

bool isDateLetter(QChar c) {
    const QChar l = c.toLower();
    return l == u'y' || l == u'm' || l == u'd' || l == u'h' || l == u's';
}

// Appends literal text, merging it with a literal just before.
void addLiteral(std::vector<FormatToken>& tokens, const QString& text) {
    if (!tokens.empty() && tokens.back().kind == Kind::Literal)
        tokens.back().text += text;
    else
        tokens.push_back({Kind::Literal, text});
}

// "[$€-407]" shows "€"; other bracketed codes show nothing.
QString bracketText(const QString& code) {
    if (!code.startsWith(u'$')) return {};
    const qsizetype dash = code.indexOf(u'-');
    return code.mid(1, dash < 0 ? -1 : dash - 1);
}

// Marks each month code that belongs to a time as a minute.
void markMinutes(std::vector<FormatToken>& tokens) {
    auto datePartBefore = [&](std::size_t i) -> const FormatToken* {
        for (std::size_t j = i; j-- > 0;)
            if (tokens[j].kind == Kind::DatePart) return &tokens[j];
        return nullptr;
    };
    auto datePartAfter = [&](std::size_t i) -> const FormatToken* {
        for (std::size_t j = i + 1; j < tokens.size(); ++j)
            if (tokens[j].kind == Kind::DatePart) return &tokens[j];
        return nullptr;
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        FormatToken& t = tokens[i];
        if (t.kind != Kind::DatePart || !t.text.startsWith(u'm') || t.text.size() > 2) continue;
        const FormatToken* before = datePartBefore(i);
        const FormatToken* after = datePartAfter(i);
        if ((before && before->text.startsWith(u'h')) || (after && after->text.startsWith(u's')))
            t.text = QString(t.text.size(), u'n');
    }
}

}  // namespace

FormatSection parseSection(const QString& s) {
    FormatSection section;
    auto& tokens = section.tokens;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            addLiteral(tokens, s.mid(i + 1, end < 0 ? -1 : end - i - 1));
            i = end < 0 ? n : end + 1;
        } else if (c == u'\\' && i + 1 < n) {
            addLiteral(tokens, s.mid(i + 1, 1));
            i += 2;
        } else if (c == u'_' && i + 1 < n) {
            addLiteral(tokens, QStringLiteral(" "));  // room the width of the next character
            i += 2;
        } else if (c == u'*' && i + 1 < n) {
            i += 2;  // repeat-to-fill: nothing in the plain text
        } else if (c == u'[') {
            const qsizetype end = s.indexOf(u']', i + 1);
            const QString text = bracketText(s.mid(i + 1, end < 0 ? -1 : end - i - 1));
            if (!text.isEmpty()) addLiteral(tokens, text);
            i = end < 0 ? n : end + 1;
        } else if (s.mid(i, 7).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) {
            tokens.push_back({Kind::General, {}});
            i += 7;
        } else if (s.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            tokens.push_back({Kind::AmPm, s.mid(i, 5)});
            i += 5;
        } else if (s.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
            tokens.push_back({Kind::AmPm, s.mid(i, 3)});
            i += 3;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            tokens.push_back({Kind::Digit, QString(c)});
            ++i;
        } else if (c == u'.') {
            tokens.push_back({Kind::DecimalPoint, {}});
            ++i;
        } else if (c == u',') {
            tokens.push_back({Kind::Thousands, {}});
            ++i;
        } else if (c == u'%') {
            tokens.push_back({Kind::Percent, {}});
            ++i;
        } else if (c == u'@') {
            tokens.push_back({Kind::TextValue, {}});
            ++i;
        } else if ((c == u'E' || c == u'e') && i + 1 < n && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            tokens.push_back({Kind::Exponent, QStringLiteral("E") + s[i + 1]});
            i += 2;
        } else if (isDateLetter(c)) {
            qsizetype j = i;
            while (j < n && s[j].toLower() == c.toLower()) ++j;
            tokens.push_back({Kind::DatePart, QString(j - i, c.toLower())});
            i = j;
        } else {
            addLiteral(tokens, QString(c));
            ++i;
        }
    }
    markMinutes(tokens);
    return section;
}

}  // namespace engine::render
