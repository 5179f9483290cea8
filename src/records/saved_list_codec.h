#pragma once

#include <QString>
#include <QStringList>

// The saved form of the record list: each record is its name, total and
// commission, each followed by a separator, the last by the record terminator,
// all run together. Texts are stored verbatim, without escaping; a record whose
// texts contain a separator would not come back as entered, so the main window
// refuses such records (containsSeparator).
namespace records {

inline constexpr const char* kFieldSeparator = "||SEP1||";
inline constexpr const char* kRecordTerminator = "||SEP2||";

// name, "||SEP1||", total, "||SEP1||", commission, "||SEP2||".
QString encodeRecord(const QString& name, const QString& total, const QString& commission);

// The value split at every terminator: none for the empty value; a value that
// ends with the terminator gives one trailing empty record text.
QStringList splitRecordTexts(const QString& value);

// A record text split at every field separator.
QStringList splitFields(const QString& recordText);

// Field index (0-based: name, total sales amount, commission amount); throws
// shell::Failure naming the record and the missing field when it has no such field.
QString fieldAt(const QStringList& fields, int index);

// True when text holds either separator, or would form one with a separator
// written before or after it in the saved value.
bool containsSeparator(const QString& text);

}  // namespace records
