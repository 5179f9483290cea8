#include "records/stored_numbers.h"

#include "shell/locale_number.h"
#include "shell/locale_symbols.h"

namespace records {

QString numberLocaleInForce() { return QLocale().name(); }

StoredNumberTexts::StoredNumberTexts(const QString& storedLocale)
    : m_storedLocaleName(storedLocale), m_stored(storedLocale.isEmpty() ? QLocale() : QLocale(storedLocale)) {
    // Copies: the symbols are kept for the locale last asked about only.
    const shell::LocaleSymbols from = shell::symbolsOf(m_stored);
    const shell::LocaleSymbols to = shell::symbolsOf(QLocale());
    m_convert = !storedLocale.isEmpty() && (from.decimal != to.decimal || from.group != to.group);
}

std::optional<QString> StoredNumberTexts::inForce(const QString& text) const {
    if (!m_convert || text.isEmpty()) return text;
    const std::optional<double> value = shell::parseLocaleNumber(text, m_stored);
    if (!value) return std::nullopt;
    // The same text with the separators in force, when that reads back to the same value.
    const shell::LocaleSymbols from = shell::symbolsOf(m_stored);
    const QString& fromDecimal = from.decimal;
    const QLocale inForce;
    const shell::LocaleSymbols to = shell::symbolsOf(inForce);
    QString moved;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (text.mid(i).startsWith(fromDecimal)) {
            moved += to.decimal;
            i += fromDecimal.size() - 1;
        } else if (c.isDigit() || c.isSpace() || c == u'e' || c == u'E' || c == u'+') {
            moved += c;
        } else if (c == u'-' || QString(c) == from.minus) {
            moved += u'-';
        } else {
            moved += to.group;  // the stored group separator
        }
    }
    if (shell::parseLocaleNumber(moved, inForce) == value) return moved;
    return shell::localeNumberText(*value, inForce);
}

}  // namespace records
