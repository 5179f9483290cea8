#include "records/stored_records.h"

#include "records/commission_record.h"
#include "records/saved_list_codec.h"
#include "shell/failure.h"
#include "shell/message_text.h"
#include "shell/settings_store.h"

namespace records {
namespace {

constexpr int kStoredFields = 3;  // name, total, commission

shell::Failure storedListFailure(const QString& description) {
    return shell::Failure(QStringLiteral("The settings store's \"%1\" %2")
                              .arg(QString::fromLatin1(shell::kKeyCommissionList), description));
}

}  // namespace

QString storedPercentage() {
    return shell::GetProgramSetting(QString::fromLatin1(shell::kKeyCommissionRate), QStringLiteral("10"));
}

generator::RecordList storedRecords() {
    const QString value = shell::GetProgramSetting(QString::fromLatin1(shell::kKeyCommissionList));
    generator::RecordList list({}, storedPercentage());
    int recordNumber = 0;
    for (const QString& recordText : SplitRecordTexts(value)) {
        if (recordText.isEmpty()) continue;
        ++recordNumber;
        if (list.recordCount() == kMaxRecords)
            throw storedListFailure(QStringLiteral("holds more than 32,767 records, more than the list can hold."));
        const QStringList fields = SplitFields(recordText);
        if (fields.size() < kStoredFields)
            throw storedListFailure(QStringLiteral("is damaged: record %1 (%2) lacks %3 of its three fields.")
                                        .arg(recordNumber)
                                        .arg(shell::quotedForMessage(fields.first()))
                                        .arg(kStoredFields - fields.size()));
        list.append({fields[0], fields[1]});
    }
    return list;
}

}  // namespace records
