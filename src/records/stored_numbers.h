#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Amounts and the percentage are kept as typed, under the number rules of the
// locale they were typed in; the store records that locale beside them. A list
// typed under one locale is read under another by moving its texts to the rules
// in force: "1.500,5" kept under de_DE reads as "1,500.5" under en_US.
namespace records {

// The name the store records for the number rules in force ("de_DE").
QString numberLocaleInForce();

class StoredNumberTexts {
public:
    // Texts typed under the rules of the named locale; an empty name (a store from
    // before the locale was recorded) means the rules in force.
    explicit StoredNumberTexts(const QString& storedLocale);

    // True when the stored rules write numbers otherwise than the rules in force.
    bool convert() const { return m_convert; }
    const QString& storedLocale() const { return m_storedLocaleName; }

    // The text as the rules in force write it: unchanged when no conversion is
    // needed or the text is empty; a number under the stored rules with the
    // separators in force (grouping kept); none for any other text.
    std::optional<QString> inForce(const QString& text) const;

private:
    QString m_storedLocaleName;
    QLocale m_stored;
    bool m_convert = false;
};

}  // namespace records
