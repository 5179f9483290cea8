// The saved record list: any stored value decodes without a crash, splitting
// loses no character, fieldAt fails exactly outside the fields, every record the
// main window accepts is stored whole, and records that are stored whole on their
// own are stored whole in any list.
#include "fuzz_support.h"
#include "records/commission_record.h"
#include "records/saved_list_codec.h"
#include "shell/failure.h"

#include <QList>
#include <QStringList>

namespace {

using records::CommissionRecord;
using Rows = QList<CommissionRecord>;

const QString kSep1 = QString::fromLatin1(records::kFieldSeparator);
const QString kSep2 = QString::fromLatin1(records::kRecordTerminator);

QString fieldOrEmpty(const QStringList& fields, int index) {
    try {
        const QString field = records::fieldAt(fields, index);
        fuzz::check(index >= 0 && index < fields.size(), "fieldAt answers outside the fields");
        fuzz::check(field == fields.at(index), "fieldAt gives another field");
        return field;
    } catch (const shell::Failure&) {
        fuzz::check(index < 0 || index >= fields.size(), "fieldAt fails inside the fields");
        return QString();
    }
}

// The rows the main window loads from a stored value: empty record texts are
// skipped, a missing field stays empty (the window reports it and goes on).
Rows decode(const QString& value) {
    const QStringList recordTexts = records::splitRecordTexts(value);
    fuzz::check(value.isEmpty() == recordTexts.isEmpty(), "empty value and no record texts differ", value);
    fuzz::check(recordTexts.join(kSep2) == value, "record texts do not join back to the value", value);
    Rows rows;
    for (const QString& recordText : recordTexts) {
        fuzz::check(!recordText.contains(kSep2), "a record text holds the terminator", recordText);
        if (recordText.isEmpty()) continue;
        const QStringList fields = records::splitFields(recordText);
        fuzz::check(!fields.isEmpty(), "a record text gives no fields", recordText);
        fuzz::check(fields.join(kSep1) == recordText, "fields do not join back to the record text", recordText);
        for (const QString& field : fields)
            fuzz::check(!field.contains(kSep1) && !field.contains(kSep2), "a decoded field holds a separator", field);
        fieldOrEmpty(fields, -1);
        fieldOrEmpty(fields, int(fields.size()));
        rows.append({fieldOrEmpty(fields, 0), fieldOrEmpty(fields, 1), fieldOrEmpty(fields, 2)});
    }
    return rows;
}

QString encode(const Rows& rows) {
    QString value;
    for (const CommissionRecord& r : rows)
        value += records::encodeRecord(r.saleperson, r.totalSalesAmount, r.commissionAmount);
    return value;
}

bool roundTrips(const Rows& rows) { return decode(encode(rows)) == rows; }

QString describe(const Rows& rows) {
    QStringList out;
    for (const CommissionRecord& r : rows)
        out << QStringLiteral("{%1|%2|%3}").arg(r.saleperson, r.totalSalesAmount, r.commissionAmount);
    return out.join(QLatin1Char(' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    if (in.byte() % 2 == 0) {
        // A stored value, as the settings store might hold it. The format has no
        // escaping, so a field that ends like the start of a separator ("x||SEP1")
        // is not stored whole; the rows that are stored whole one by one are also
        // stored whole together.
        Rows storable;
        for (const CommissionRecord& row : decode(in.restAsText()))
            if (roundTrips({row})) storable.append(row);
        fuzz::check(roundTrips(storable), "records stored whole alone are damaged in a list", describe(storable));
    } else {
        // Texts as typed into the entry fields. The main window takes a record only
        // when none of its texts holds or forms a separator; such a record comes
        // back whole, alone and among others, whatever stands around it.
        const CommissionRecord typed{in.text(in.byte()), in.text(in.byte()), in.text(in.byte())};
        const CommissionRecord sample{QStringLiteral("Aldo Fennick"), QStringLiteral("5600"), QStringLiteral("560")};
        const CommissionRecord empty;
        const Rows list{sample, typed, empty, typed, sample};
        const bool accepted = !records::containsSeparator(typed.saleperson) &&
                              !records::containsSeparator(typed.totalSalesAmount) &&
                              !records::containsSeparator(typed.commissionAmount);
        if (accepted) {
            fuzz::check(roundTrips({typed}), "a record the window takes is not stored whole", describe({typed}));
            fuzz::check(roundTrips(list), "a record the window takes is damaged in a list", describe({typed}));
        } else if (roundTrips({typed})) {
            fuzz::check(roundTrips(list), "a record that is stored whole alone is damaged in a list",
                        describe({typed}));
        }
    }
    return 0;
}
