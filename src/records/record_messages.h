#pragma once

#include <QString>

// The main window's own messages about records.
namespace records {

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

}  // namespace records
