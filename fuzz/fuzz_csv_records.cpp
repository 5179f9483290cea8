// The record list read from text bytes: any bytes give a list or one error with a
// line and column inside the input, never a crash; a list read holds only
// records the main window could hold (at most 32,767, names present, unique,
// storable and writable into every workbook, totals empty or numbers), and
// written out again as CSV it reads back the same.
#include "fuzz_support.h"
#include "records/commission_record.h"
#include "records/record_rules.h"
#include "records/records_file.h"
#include "records/saved_list_codec.h"
#include "shell/locale_number.h"

#include <QSet>

namespace {

QByteArray quoted(const QString& text) {
    QByteArray out = text.toUtf8();
    out.replace('"', "\"\"");
    return '"' + out + '"';
}

QByteArray writtenOut(const generator::RecordList& list) {
    QByteArray out;
    for (const auto& record : list.records()) out += quoted(record.name) + ',' + quoted(record.total) + "\r\n";
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const QLocale& locale = fuzz::localeFor(in.byte());
    const QByteArray bytes = in.restAsBytes();
    const records::RecordsFromFile read = records::parseRecordsFile(bytes, QStringLiteral("list.csv"), locale);

    if (const auto* error = std::get_if<records::RecordsFileError>(&read)) {
        const int lines = int(bytes.count('\n') + bytes.count('\r')) + 1;
        // Line 0 is the whole input (a workbook's failure), column 0 the whole line.
        fuzz::check(error->line >= 0 && error->line <= lines, "an error names a line outside the input", error->text());
        // The separator is a comma, a semicolon or a tab, whichever the text uses.
        const int fields = int(bytes.count(',') + bytes.count(';') + bytes.count('\t')) + 1;
        // A missing field is named by the column it should stand in.
        fuzz::check(error->column >= 0 && error->column <= fields + 1 && (error->line > 0 || error->column == 0),
                    "an error names no field", error->text());
        fuzz::check(!error->message.isEmpty(), "an error says nothing", error->text());
        return 0;
    }
    const auto& list = std::get<generator::RecordList>(read);
    fuzz::check(list.recordCount() <= records::kMaxRecords, "more records than the list holds");
    QSet<QString> names;
    for (const auto& record : list.records()) {
        fuzz::check(!record.name.trimmed().isEmpty(), "a record without a name", record.name);
        fuzz::check(!records::nameRefusal(record.name), "a name the list refuses", record.name);
        fuzz::check(!names.contains(record.name), "a name read twice", record.name);
        names.insert(record.name);
        fuzz::check(record.total.isEmpty() || shell::isNumeric(record.total, locale), "a total that is no number",
                    record.total);
    }

    const records::RecordsFromFile again = records::parseRecordsFile(writtenOut(list), QStringLiteral("again.csv"), locale);
    const auto* reread = std::get_if<generator::RecordList>(&again);
    fuzz::check(reread != nullptr, "a list written out is refused",
                reread ? QString() : std::get<records::RecordsFileError>(again).text());
    fuzz::check(reread->records().size() == list.records().size(), "a list written out reads back another length");
    for (std::size_t i = 0; i < list.records().size(); ++i)
        fuzz::check(reread->records()[i].name == list.records()[i].name &&
                        reread->records()[i].total == list.records()[i].total,
                    "a record written out reads back otherwise", list.records()[i].name);
    return 0;
}
