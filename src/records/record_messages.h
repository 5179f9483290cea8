#pragma once

#include <QString>
#include <QStringList>

// The main window's own messages about records.
namespace records {

// What the empty list shows.
inline const QString kEmptyListHint =
    QStringLiteral("Type a record above, paste rows from a spreadsheet, or drop a CSV or workbook here");

inline const QString kNameMissingMessage = QStringLiteral("You forgot to input saleperson's name.");

// The saved list has no escaping, so texts holding its separators are refused.
inline const QString kSeparatorRefusedMessage = QStringLiteral(
    "A name or amount may not contain \"||SEP1||\" or \"||SEP2||\": the record list could not store it. "
    "Nothing was changed.");

// A name the list refuses (records::nameRefusal gives the reason).
inline QString nameRefusedMessage(const QString& reason) {
    return QStringLiteral("The record cannot be added: %1. Nothing was changed.").arg(reason);
}

inline const QString kListFullMessage =
    QStringLiteral("The list is full: it holds at most 32,767 records. Nothing was changed.");

// The failure of appending to a full list, and of loading a saved list that is longer.
inline const QString kListFullFailure = QStringLiteral("The list holds at most 32,767 records.");
inline const QString kSavedListTooLongFailure =
    QStringLiteral("The saved list holds more than 32,767 records; only the first 32,767 were loaded.");

// Asked when the list could not be stored as the program ends: No keeps the window open.
inline const QString kListNotStoredQuestion = QStringLiteral(
    "The record list could not be stored, so the changes made to it since the program started would be lost."
    "\r\n\r\nClose anyway?");

// Said once when the percentage could not be stored; later failures stay quiet
// until a write succeeds again.
inline QString percentageNotStoredMessage(const QString& reason) {
    return QStringLiteral("The commission percentage could not be stored: %1\r\n\r\nIt will be stored with your "
                          "next change, or when the list is stored.")
        .arg(reason);
}

// Kept amounts that are no numbers under the locale they were typed under.
inline QString unreadableNumbersMessage(const QString& locale, const QStringList& texts) {
    return QStringLiteral("These amounts were kept under the number rules of %1 but are no numbers under them, so "
                          "they are shown as they were typed and not converted: %2.")
        .arg(locale, texts.join(QStringLiteral("; ")));
}

// An import, paste or drop that changed nothing, naming the file and the reason.
inline QString importRefusedMessage(const QString& source, const QString& reason) {
    return QStringLiteral("The records could not be imported from %1: %2\r\n\r\nNothing was changed.").arg(source, reason);
}

inline const QString kNothingToPasteMessage =
    QStringLiteral("The clipboard holds no rows to paste: copy the rows in a spreadsheet application first.");

inline QString exportFailedMessage(const QString& reason) {
    return QStringLiteral("The records could not be exported: %1").arg(reason);
}

}  // namespace records
