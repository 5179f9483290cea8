#pragma once

#include "generator/record_list.h"
#include "generator/record_table.h"
#include "records/commission_record.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

// Record lists read from files and the clipboard, and written to CSV files.
//
// A file is a workbook (.xls, .xlsx, .ods, told by its content) or a text table
// (records/text_table.h): UTF-8, with or without a byte order mark, or UTF-16
// with one; its separator (comma, semicolon or tab) is guessed and can be
// changed. Its rows become records through the import rules
// (records/record_import.h), which the main window and the command line share.
// A file that cannot be read, or is larger than 64 MiB, is refused whole.
namespace records {

// What went wrong, and where.
struct RecordsFileError {
    QString file;
    int line = 0;    // 1-based; 0 when the whole file is meant
    int column = 0;  // 1-based field number; 0 when the whole line is meant
    QString message;

    // "file:line:column: message", leaving out the parts that are 0.
    QString text() const;
    friend bool operator==(const RecordsFileError&, const RecordsFileError&) = default;
};

inline constexpr qint64 kMaxRecordsFileBytes = 64 * 1024 * 1024;

// The rows of a file or of the clipboard, opened for import: a workbook's
// sheets, or the one table of a text, which can be split again at another
// separator.
class ImportSource {
public:
    // Throws TextRefusal (records/text_table.h) or shell::Failure (a workbook's).
    static ImportSource fromBytes(const QByteArray& bytes, const QLocale& locale = QLocale());
    // The clipboard's text, as a text table.
    static ImportSource fromText(const QString& text);
    // A table read elsewhere (the clipboard's HTML).
    static ImportSource fromTable(generator::RecordTable table);

    // A text, whose separator can be changed.
    bool isText() const { return m_utf8.has_value(); }
    char separator() const { return m_separator; }
    // Splits the text again; throws TextRefusal, leaving the table as it was.
    void setSeparator(char separator);

    int tableCount() const { return int(m_tables.size()); }
    const generator::RecordTable& table(int index) const { return m_tables.at(std::size_t(index)); }

private:
    std::optional<QByteArray> m_utf8;
    char m_separator = ',';
    std::vector<generator::RecordTable> m_tables;
};

// A file's bytes, read up to the limit (so that an endless source such as
// /dev/zero is refused rather than read until memory runs out).
std::variant<QByteArray, RecordsFileError> readRecordsFileBytes(const QString& path);

// The bytes opened for import; a failure names the file (fileName), the line and
// the field where it can.
std::variant<ImportSource, RecordsFileError> openImportSource(const QByteArray& bytes, const QString& fileName,
                                                              const QLocale& locale = QLocale());

// The records of a file as the command line takes them: its first sheet (or its
// text), the columns guessed, every row taken or the first refusal in the file's
// order returned (a name listed twice, more than 32,767 records included). The
// list's percentage is a commission workbook's own, else empty.
using RecordsFromFile = std::variant<generator::RecordList, RecordsFileError>;
RecordsFromFile readRecordsFile(const QString& path, const QLocale& locale = QLocale());
RecordsFromFile parseRecordsFile(const QByteArray& bytes, const QString& fileName, const QLocale& locale = QLocale());

// The rows as a CSV file: UTF-8, RFC 4180 (fields quoted where they hold a
// separator, a quote or a line break; CR LF after every line), a header line of
// the list's column titles, the texts exactly as the list holds them.
QByteArray recordsCsv(const QList<CommissionRecord>& rows);

}  // namespace records
