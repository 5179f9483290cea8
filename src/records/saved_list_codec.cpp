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

QString encodeRecord(const QString& name, const QString& total, const QString& commission) {
    return name + fieldSeparator() + total + fieldSeparator() + commission + recordTerminator();
}

QStringList splitRecordTexts(const QString& value) {
    if (value.isEmpty()) return {};
    return value.split(recordTerminator(), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QStringList splitFields(const QString& recordText) {
    return recordText.split(fieldSeparator(), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString fieldAt(const QStringList& fields, int index) {
    if (index < 0 || index >= fields.size()) {
        static const char* const kFields[] = {"name", "total sales amount", "commission amount"};
        const QString field = index >= 0 && index < 3 ? QString::fromLatin1(kFields[index])
                                                      : QStringLiteral("field %1").arg(index + 1);
        throw shell::Failure(QStringLiteral("The saved record \"%1\" has no %2.").arg(fields.value(0), field));
    }
    return fields.at(index);
}

bool containsSeparator(const QString& text) {
    // A field stands between two separators in the saved value; it is safe only
    // when no separator is found there but the two around it, also one formed
    // across its edges (a name ending in "||SEP1|" would lose its end).
    const QString separators[] = {fieldSeparator(), recordTerminator()};
    for (const QString& before : separators) {
        for (const QString& after : separators) {
            const QString framed = before + text + after;
            const qsizetype end = before.size() + text.size();
            for (const QString& separator : separators) {
                for (qsizetype at = framed.indexOf(separator, 1); at >= 0; at = framed.indexOf(separator, at + 1))
                    if (at != end) return true;
            }
        }
    }
    return false;
}

}  // namespace records
