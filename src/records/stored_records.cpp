#include "records/stored_records.h"

#include "records/commission_record.h"
#include "records/saved_list_codec.h"
#include "records/stored_numbers.h"
#include "shell/failure.h"
#include "shell/locale_number.h"
#include "shell/message_text.h"
#include "shell/settings_store.h"

namespace records {
namespace {

constexpr int kStoredFields = 3;  // name, total, commission

// The command line reads the store beside a running window and never writes it:
// a damaged store is reported, not moved.
QString storedSetting(const char* key, const QString& absent = QString()) {
    return shell::readProgramSetting(QString::fromLatin1(key), absent, shell::DamagedStore::Report);
}

shell::Failure storedListFailure(const QString& description) {
    return shell::Failure(QStringLiteral("The settings store's \"%1\" %2")
                              .arg(QString::fromLatin1(shell::kKeyCommissionList), description));
}

QString rulesInForce() {
    return QStringLiteral("numbers are read by the rules of the locale %1").arg(QLocale().name());
}

// A stored amount as the rules in force read it; throws when it is no number.
QString storedNumber(const StoredNumberTexts& stored, const QString& text, const QString& what) {
    const std::optional<QString> inForce = stored.inForce(text);
    if (inForce && shell::isNumeric(*inForce)) return *inForce;
    const QString rules = inForce ? rulesInForce()
                                  : QStringLiteral("it was kept under the rules of the locale %1").arg(stored.storedLocale());
    throw shell::Failure(QStringLiteral("%1 %2 is not a number (%3).").arg(what, shell::quotedForMessage(text), rules));
}

}  // namespace

QString storedPercentage() {
    const StoredNumberTexts stored(storedSetting(shell::kKeyNumberLocale));
    return storedNumber(stored, storedSetting(shell::kKeyCommissionRate, QStringLiteral("10")),
                        QStringLiteral("The settings store's \"%1\"").arg(QString::fromLatin1(shell::kKeyCommissionRate)));
}

generator::RecordList storedRecords() {
    const QString value = storedSetting(shell::kKeyCommissionList);
    const StoredNumberTexts stored(storedSetting(shell::kKeyNumberLocale));
    generator::RecordList list({}, storedPercentage());
    int recordNumber = 0;
    for (const QString& recordText : splitRecordTexts(value)) {
        if (recordText.isEmpty()) continue;
        ++recordNumber;
        if (list.recordCount() == kMaxRecords)
            throw storedListFailure(QStringLiteral("holds more than 32,767 records, more than the list can hold."));
        const QStringList fields = splitFields(recordText);
        if (fields.size() < kStoredFields)
            throw storedListFailure(QStringLiteral("is damaged: record %1 (%2) lacks %3 of its three fields.")
                                        .arg(recordNumber)
                                        .arg(shell::quotedForMessage(fields.first()))
                                        .arg(kStoredFields - fields.size()));
        // A total may be empty; any other must be a number.
        const QString total =
            fields[1].isEmpty()
                ? fields[1]
                : storedNumber(stored, fields[1],
                               QStringLiteral("The settings store's \"%1\", record %2 (%3): the total")
                                   .arg(QString::fromLatin1(shell::kKeyCommissionList))
                                   .arg(recordNumber)
                                   .arg(shell::quotedForMessage(fields[0])));
        list.append({fields[0], total});
    }
    return list;
}

}  // namespace records
