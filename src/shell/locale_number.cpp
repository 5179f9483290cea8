#include "shell/locale_number.h"

#include "shell/failure.h"
#include "shell/locale_symbols.h"

#include <QByteArray>
#include <QStringView>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace shell {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool isSpaceLike(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

// Walks a text once, building the same number in C notation for the conversion.
class NumberScanner {
public:
    NumberScanner(QStringView text, const LocaleSymbols& symbols)
        : m_rest(text.trimmed()),
          m_group(symbols.group),
          m_decimal(symbols.decimal),
          m_plus(symbols.plus),
          m_minus(symbols.minus) {
        m_c.reserve(m_rest.size() + 1);
    }

    // The number in C notation, or nothing when the text is not a number.
    std::optional<std::string> scan() {
        sign();
        const int integerDigits = integerPart();
        if (integerDigits < 0) return std::nullopt;
        const int fractionDigits = fractionPart();
        if (integerDigits + fractionDigits == 0) return std::nullopt;
        if (!exponentPart()) return std::nullopt;
        if (!m_rest.isEmpty()) return std::nullopt;
        return m_c;
    }

private:
    bool take(QStringView token) {
        // Most texts differ from a token at once: its first character is looked at first.
        if (token.isEmpty() || m_rest.isEmpty() || m_rest.front() != token.front() || !m_rest.startsWith(token))
            return false;
        m_rest = m_rest.sliced(token.size());
        return true;
    }

    bool takeGroupSeparator() {
        if (m_group.isEmpty() || m_group == m_decimal) return false;
        if (take(m_group)) return true;
        if (m_group.size() == 1 && isSpaceLike(m_group.front()) && !m_rest.isEmpty() &&
            isSpaceLike(m_rest.front())) {
            m_rest = m_rest.sliced(1);
            return true;
        }
        return false;
    }

    int digits() {
        int count = 0;
        while (!m_rest.isEmpty() && isDigit(m_rest.front())) {
            m_c += char(m_rest.front().unicode());
            m_rest = m_rest.sliced(1);
            ++count;
        }
        return count;
    }

    void sign() {
        if (take(u"+") || take(m_plus)) return;
        if (take(u"-") || take(m_minus)) m_c += '-';
    }

    // Digits in groups; the number of digits, or -1 when the grouping is wrong.
    int integerPart() {
        int total = digits();
        int group = total;
        bool grouped = false;
        while (takeGroupSeparator()) {
            if (group == 0 || group > 3 || (grouped && group != 3)) return -1;
            grouped = true;
            group = digits();
            total += group;
        }
        if (grouped && group != 3) return -1;
        return total;
    }

    int fractionPart() {
        if (!take(m_decimal)) return 0;
        m_c += '.';
        return digits();
    }

    bool exponentPart() {
        if (m_rest.isEmpty() || (m_rest.front() != QLatin1Char('e') && m_rest.front() != QLatin1Char('E')))
            return true;
        m_rest = m_rest.sliced(1);
        m_c += 'e';
        if (!take(u"+") && take(u"-")) m_c += '-';
        return digits() > 0;
    }

    QStringView m_rest;
    QStringView m_group, m_decimal, m_plus, m_minus;
    std::string m_c;
};

// Conversion of C notation independent of the process's C locale, which the
// application may have set to the user's; correctly rounded either way. The rare
// text beyond a double's range (too large, or too small to be told from zero) is
// left to the C library, which reads it as infinity or zero.
double convertC(const char* c) {
    double value = 0;
    if (std::from_chars(c, c + std::strlen(c), value).ec != std::errc::result_out_of_range) return value;
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    return ::strtod_l(c, nullptr, cLocale);
}

}  // namespace

std::optional<double> parseLocaleNumber(const QString& text, const QLocale& locale) {
    const std::optional<std::string> c = NumberScanner(text, symbolsOf(locale)).scan();
    if (!c) return std::nullopt;
    const double value = convertC(c->c_str());
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool isNumeric(const QString& text, const QLocale& locale) {
    return parseLocaleNumber(text, locale).has_value();
}

double toDouble(const QString& text, const QLocale& locale) {
    const std::optional<double> value = parseLocaleNumber(text, locale);
    if (!value) throw Failure(QStringLiteral("\"%1\" is not a number.").arg(text));
    return *value;
}

SignificantDigits significantDigitsOf(double value) {
    SignificantDigits s;
    // The C++ library rounds the exact binary value correctly, a tie to even: the
    // same digits wherever there is no tie, which its 17 digits would show as a 5
    // then a 0 in the 16th and 17th places. Only then the slower way below.
    char seventeen[32];
    const std::to_chars_result wide =
        std::to_chars(std::begin(seventeen), std::end(seventeen), std::fabs(value), std::chars_format::scientific, 16);
    if (wide.ec == std::errc() && !(seventeen[16] == '5' && seventeen[17] == '0')) {
        char fifteen[32];
        const std::to_chars_result r = std::to_chars(std::begin(fifteen), std::end(fifteen), std::fabs(value),
                                                     std::chars_format::scientific, kSignificantDigits - 1);
        s.digits[0] = fifteen[0];
        std::memcpy(s.digits.data() + 1, fifteen + 2, kSignificantDigits - 1);
        std::from_chars(fifteen + kSignificantDigits + 2 + (fifteen[kSignificantDigits + 2] == '+'), r.ptr, s.exponent);
        return s;
    }
    // "d.dddddddddddddde±xx", the exact binary value rounded with a tie going away
    // from zero.
    const QString text = QString::number(std::fabs(value), 'e', kSignificantDigits - 1);
    s.digits[0] = static_cast<char>(text[0].unicode());
    for (int i = 1; i < kSignificantDigits; ++i) s.digits[i] = static_cast<char>(text[i + 1].unicode());
    s.exponent = QStringView(text).mid(kSignificantDigits + 2).toInt();
    return s;
}

QString generalNumberText(double value) {
    if (value == 0) return QStringLiteral("0");
    const SignificantDigits s = significantDigitsOf(value);
    const char* digits = s.digits.data();
    int count = kSignificantDigits;
    while (count > 1 && digits[count - 1] == '0') --count;
    const int exponent = s.exponent;

    std::string text;
    if (value < 0) text += '-';
    if (exponent < -4 || exponent >= kSignificantDigits) {
        text += digits[0];
        if (count > 1) text.append(1, '.').append(digits + 1, count - 1);
        text += exponent < 0 ? "E-" : "E+";
        if (std::abs(exponent) < 10) text += '0';
        text += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        text.append("0.").append(-exponent - 1, '0').append(digits, count);
    } else if (count <= exponent + 1) {
        text.append(digits, count).append(exponent + 1 - count, '0');
    } else {
        text.append(digits, exponent + 1).append(1, '.').append(digits + exponent + 1, count - exponent - 1);
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<QString> localeNumberText(double value, const QLocale& locale) {
    if (!std::isfinite(value)) return std::nullopt;
    QString text = generalNumberText(value);
    // Next to the largest double, 15 digits round up past it; such a text would
    // not read back.
    if (!std::isfinite(convertC(text.toLatin1().constData()))) return std::nullopt;
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

std::optional<QString> commissionText(double total, double rate, const QLocale& locale) {
    return localeNumberText(total * (rate / 100.0), locale);
}

}  // namespace shell
