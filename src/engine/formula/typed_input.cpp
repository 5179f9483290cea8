#include "engine/formula/typed_input.h"

#include "engine/formula/date_input.h"
#include "engine/formula/error_literals.h"
#include "engine/model/engine_error.h"
#include "shell/locale_number.h"
#include "shell/locale_symbols.h"

#include <optional>

namespace engine::formula {

namespace {

TypedInput constant(CellValue value, QString format = QString()) {
    return TypedInput{std::move(value), false, std::move(format)};
}

// Whether a number text has digits after its decimal separator.
bool hasFraction(const QString& number, const QLocale& locale) {
    const int point = number.indexOf(shell::symbolsOf(locale).decimal);
    return point >= 0 && point + 1 < number.size() && number[point + 1].isDigit();
}

std::optional<TypedInput> percentage(const QString& t, const QLocale& locale) {
    if (!t.endsWith(u'%')) return std::nullopt;
    const QString body = t.chopped(1).trimmed();
    const std::optional<double> number = shell::parseLocaleNumber(body, locale);
    if (!number) return std::nullopt;
    return constant(*number / 100, hasFraction(body, locale) ? QStringLiteral("0.00%") : QStringLiteral("0%"));
}

// The number format a currency entry implies: the sign where it was typed, with
// cents when cents were typed.
QString currencyFormat(const QString& symbol, bool prefix, bool spaced, bool cents) {
    const QString quotedSymbol = symbol == QLatin1String("$") ? symbol : u'"' + symbol + u'"';
    const QString number = cents ? QStringLiteral("#,##0.00") : QStringLiteral("#,##0");
    const QString space = spaced ? QStringLiteral(" ") : QString();
    return prefix ? quotedSymbol + space + number : number + space + quotedSymbol;
}

// "$5,600.00", "-$5", "$-5", "5,00 €", "-5 €": a sign may stand before the
// currency sign or before the digits, not both.
std::optional<TypedInput> currencyWith(const QString& t, const QString& symbol, const QLocale& locale) {
    if (symbol.isEmpty()) return std::nullopt;
    QStringView rest = t;
    const bool outerSign = rest.startsWith(u'-') || rest.startsWith(u'+');
    const bool negative = rest.startsWith(u'-');
    if (outerSign) rest = rest.mid(1);
    const bool prefix = rest.startsWith(symbol);
    if (!prefix && !rest.endsWith(symbol)) return std::nullopt;
    rest = prefix ? rest.mid(symbol.size()) : rest.chopped(symbol.size());
    const bool spaced = !rest.isEmpty() && (prefix ? rest.front().isSpace() : rest.back().isSpace());
    const QString number = rest.trimmed().toString();
    if (outerSign && (number.startsWith(u'-') || number.startsWith(u'+'))) return std::nullopt;
    const std::optional<double> value = shell::parseLocaleNumber(number, locale);
    if (!value) return std::nullopt;
    return constant(negative ? -*value : *value, currencyFormat(symbol, prefix, spaced, hasFraction(number, locale)));
}

std::optional<TypedInput> currency(const QString& t, const QLocale& locale) {
    if (auto dollars = currencyWith(t, QStringLiteral("$"), locale)) return dollars;
    const QString& symbol = shell::symbolsOf(locale).currency;
    if (symbol == QLatin1String("$")) return std::nullopt;
    return currencyWith(t, symbol, locale);
}

// The first character after blanks, or a null character when there is none.
QChar firstAfterBlanks(const QString& text) {
    for (QChar c : text)
        if (!c.isSpace()) return c;
    return QChar();
}

bool startsLogicalValue(QChar c) { return c == u'T' || c == u't' || c == u'F' || c == u'f'; }

// Whether a text starting with `first` can only stand for itself: a letter starts
// no number, percentage, date or error value, and no logical value or currency sign
// unless it is their first letter. Most typed texts (names) are told apart this way
// without trying each reading in turn.
bool plainText(QChar first, const QLocale& locale) {
    if (!first.isLetter() || startsLogicalValue(first)) return false;
    const QString& currency = shell::symbolsOf(locale).currency;
    return currency.isEmpty() || currency.front() != first;
}

}  // namespace

void requireCellText(const QString& text) {
    if (text.size() > kMaxTextLength)
        throw EngineError(QStringLiteral("Text values are limited to %1 characters.").arg(kMaxTextLength));
}

TypedInput parseTypedInput(const QString& text, const QLocale& locale) {
    if (text.startsWith(u'=')) return TypedInput{std::monostate{}, true, QString()};
    requireCellText(text);
    if (text.isEmpty()) return constant(std::monostate{});
    if (text.startsWith(u'\'')) return constant(text.mid(1));
    const QChar first = firstAfterBlanks(text);
    if (plainText(first, locale)) return constant(text);

    const QString t = text.trimmed();
    if (first == u'#') {
        if (const std::optional<ErrorValue> error = errorValueFromText(t)) return constant(*error);
    }
    if (startsLogicalValue(first)) {
        if (t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return constant(true);
        if (t.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return constant(false);
    }
    if (const std::optional<double> number = shell::parseLocaleNumber(t, locale)) return constant(*number);
    if (auto p = percentage(t, locale)) return *p;
    if (auto c = currency(t, locale)) return *c;
    if (const std::optional<DateInput> date = parseDateInput(t, locale))
        return constant(date->serial, date->numberFormat);
    return constant(text);
}

}  // namespace engine::formula
