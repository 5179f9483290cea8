#include "records/saved_list_codec.h"

#include "shell/failure.h"

namespace records {
namespace {

const QString& fieldSeparator() {
    static const QString separator = QString::fromLatin1(kFieldSeparator);
    return separator;
}

const QString& recordTerminator() {
    static const QString terminator = QString::fromLatin1(kRecordTerminator);
    return terminator;
}

}  // namespace

QString EncodeRecord(const QString& name, const QString& total, const QString& commission) {
    return name + fieldSeparator() + total + fieldSeparator() + commission + recordTerminator();
}

QStringList SplitRecordTexts(const QString& value) {
    if (value.isEmpty()) return {};
    return value.split(recordTerminator(), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QStringList SplitFields(const QString& recordText) {
    return recordText.split(fieldSeparator(), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString FieldAt(const QStringList& fields, int index) {
    if (index < 0 || index >= fields.size()) throw shell::Failure(QStringLiteral("Subscript out of range"));
    return fields.at(index);
}

bool ContainsSeparator(const QString& text) {
    return text.contains(fieldSeparator(), Qt::CaseSensitive) ||
           text.contains(recordTerminator(), Qt::CaseSensitive);
}

}  // namespace records
