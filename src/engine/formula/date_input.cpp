#include "engine/formula/date_input.h"

#include "engine/model/date_serial.h"
#include "shell/locale_symbols.h"

#include <QRegularExpression>

namespace engine::formula {

namespace {

// A numeric date pattern derived from a locale's short date format.
struct DatePattern {
    QRegularExpression regex;
    QString fieldOrder;   // "Mdy": which field each capture group holds
    QString numberFormat; // with "yy" where the locale writes a two-digit year
    bool startsWithField = false;  // a matching text starts with a digit
};

bool startsWithDigit(const QString& text) { return !text.isEmpty() && text[0] >= u'0' && text[0] <= u'9'; }

bool isDateSeparator(QChar c) { return !c.isLetterOrNumber() && c != u'\''; }

// Reads "M/d/yy" or "dd.MM.yyyy"; nothing for patterns with month names,
// weekdays, eras or quoted text.
std::optional<DatePattern> numericPattern(const QString& format) {
    DatePattern pattern;
    QString regex = QStringLiteral("^");
    for (int i = 0; i < format.size();) {
        const QChar c = format[i];
        int run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        i += run;
        if (i == run) pattern.startsWithField = c == u'd' || c == u'M' || c == u'y';
        if ((c == u'd' || c == u'M') && run <= 2) {
            regex += QStringLiteral("([0-9]{1,2})");
            pattern.fieldOrder += c;
            pattern.numberFormat += QString(run, c == u'd' ? u'd' : u'm');
        } else if (c == u'y' && (run == 2 || run == 4)) {
            regex += QStringLiteral("([0-9]{2}|[0-9]{4})");
            pattern.fieldOrder += c;
            pattern.numberFormat += QString(run, u'y');
        } else if (isDateSeparator(c)) {
            for (int k = 0; k < run; ++k) {
                regex += c.isSpace() ? QStringLiteral("\\s*") : QRegularExpression::escape(QString(c));
                pattern.numberFormat += (c == u'/' || c == u'-' || c == u' ') ? QString(c) : u'\\' + QString(c);
            }
        } else {
            return std::nullopt;
        }
    }
    if (pattern.fieldOrder.size() != 3 || !pattern.fieldOrder.contains(u'd') || !pattern.fieldOrder.contains(u'M') ||
        !pattern.fieldOrder.contains(u'y'))
        return std::nullopt;
    pattern.regex.setPattern(regex + u'$');
    return pattern;
}

int fullYear(const QString& digits) {
    const int y = digits.toInt();
    if (digits.size() > 2) return y;
    return y < 30 ? 2000 + y : 1900 + y;
}

std::optional<DateInput> isoDate(const QString& text) {
    if (!startsWithDigit(text)) return std::nullopt;
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch m = iso.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const std::optional<int> serial = dateSerial({m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()});
    if (!serial) return std::nullopt;
    return DateInput{static_cast<double>(*serial), QStringLiteral("yyyy-mm-dd")};
}

// The pattern of a short date format. Building one compiles a regular expression,
// and every typed text that is not a number comes here, so the last pattern is kept.
const std::optional<DatePattern>& patternFor(const QString& format) {
    thread_local QString lastFormat;
    thread_local std::optional<DatePattern> lastPattern;
    thread_local bool built = false;
    if (!built || format != lastFormat) {
        lastPattern = numericPattern(format);
        lastFormat = format;
        built = true;
    }
    return lastPattern;
}

std::optional<DateInput> localeDate(const QString& text, const QLocale& locale) {
    const std::optional<DatePattern>& pattern = patternFor(shell::symbolsOf(locale).shortDate);
    if (!pattern || (pattern->startsWithField && !startsWithDigit(text))) return std::nullopt;
    const QRegularExpressionMatch m = pattern->regex.match(text);
    if (!m.hasMatch()) return std::nullopt;
    CivilDate date;
    QString numberFormat = pattern->numberFormat;
    for (int i = 0; i < 3; ++i) {
        const QString digits = m.captured(i + 1);
        switch (pattern->fieldOrder[i].unicode()) {
        case u'd': date.day = digits.toInt(); break;
        case u'M': date.month = digits.toInt(); break;
        default:
            date.year = fullYear(digits);
            // The year shows as it was typed.
            if (digits.size() == 4 && !numberFormat.contains(QLatin1String("yyyy")))
                numberFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
            else if (digits.size() == 2 && numberFormat.contains(QLatin1String("yyyy")))
                numberFormat.replace(QLatin1String("yyyy"), QLatin1String("yy"));
        }
    }
    const std::optional<int> serial = dateSerial(date);
    if (!serial) return std::nullopt;
    return DateInput{static_cast<double>(*serial), numberFormat};
}

}  // namespace

std::optional<DateInput> parseDateInput(const QString& text, const QLocale& locale) {
    const QString t = text.trimmed();
    if (auto iso = isoDate(t)) return iso;
    return localeDate(t, locale);
}

}  // namespace engine::formula
