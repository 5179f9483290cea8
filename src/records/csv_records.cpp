#include "records/csv_records.h"

#include "generator/commission_sheet.h"
#include "records/commission_record.h"
#include "records/record_rules.h"
#include "shell/locale_number.h"
#include "shell/message_text.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <vector>

namespace records {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kNameColumn = 1;
constexpr int kTotalColumn = 2;
constexpr int kCommissionColumn = 3;
constexpr int kMaxFields = kCommissionColumn;

// A failure at a line and column, turned into the error by the reader.
struct Refusal {
    int line;
    int column;
    QString message;
};

struct Field {
    QByteArray bytes;
    bool quoted = false;
};

struct Row {
    int line = 0;  // where the row starts
    std::vector<Field> fields;
    bool isEmptyLine() const { return fields.size() == 1 && !fields[0].quoted && fields[0].bytes.isEmpty(); }
};

// Splits the bytes into rows of fields by RFC 4180's quoting. Commas, quotes and
// line breaks are single bytes that never occur inside a UTF-8 sequence, so the
// split needs no decoding. A row is refused at its field one too many, before
// the rest of its line is read: no line, however wide, costs more than its bytes.
class CsvScanner {
public:
    explicit CsvScanner(const QByteArray& bytes) : m_at(bytes.constBegin()), m_end(bytes.constEnd()) {
        if (bytes.startsWith(kByteOrderMark)) m_at += sizeof kByteOrderMark - 1;
    }

    // The next row; false at the end of the bytes. Throws Refusal.
    bool next(Row& row) {
        if (m_at == m_end) return false;
        row.line = m_line;
        row.fields.clear();
        for (;;) {
            row.fields.push_back(readField(int(row.fields.size()) + 1));
            if (m_at != m_end && *m_at == ',') {
                ++m_at;
                if (row.fields.size() == kMaxFields)
                    throw Refusal{row.line, kMaxFields + 1,
                                  QStringLiteral("a line holds at most three fields: name, total sales amount, commission")};
                continue;
            }
            if (m_at != m_end) skipLineBreak();
            return true;
        }
    }

private:
    static bool endsField(char c) { return c == ',' || c == '\r' || c == '\n'; }

    Field readField(int column) {
        Field field;
        if (m_at == m_end || *m_at != '"') {
            const char* start = m_at;
            while (m_at != m_end && !endsField(*m_at)) ++m_at;
            field.bytes = QByteArray(start, m_at - start);
            return field;
        }
        field.quoted = true;
        const int openedOn = m_line;
        ++m_at;
        for (;;) {
            if (m_at == m_end)
                throw Refusal{openedOn, column, QStringLiteral("the quoted field opened here has no closing quote")};
            const char c = *m_at;
            if (c == '"') {
                if (m_at + 1 != m_end && m_at[1] == '"') {
                    field.bytes.append('"');
                    m_at += 2;
                    continue;
                }
                ++m_at;
                break;
            }
            if (c == '\r' || c == '\n') {
                const char* start = m_at;
                skipLineBreak();
                field.bytes.append(start, m_at - start);
                continue;
            }
            field.bytes.append(c);
            ++m_at;
        }
        if (m_at != m_end && !endsField(*m_at))
            throw Refusal{m_line, column, QStringLiteral("text follows the closing quote of a quoted field")};
        return field;
    }

    // CR LF, LF or CR: one line break.
    void skipLineBreak() {
        if (*m_at == '\r' && m_at + 1 != m_end && m_at[1] == '\n') ++m_at;
        ++m_at;
        ++m_line;
    }

    const char* m_at;
    const char* m_end;
    int m_line = 1;
};

QString decodedField(const Row& row, std::size_t index) {
    // A byte order mark inside a field is text like any other.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(row.fields[index].bytes);
    if (decoder.hasError()) throw Refusal{row.line, int(index) + 1, QStringLiteral("the text is not valid UTF-8")};
    return text;
}

QString notANumber(const QString& text, const QLocale& locale) {
    return QStringLiteral("%1 is not a number (numbers are read by the rules of the locale %2)")
        .arg(shell::quotedForMessage(text), locale.name());
}

// Builds the list from the rows, checking each as it comes.
class ListBuilder {
public:
    explicit ListBuilder(const QLocale& locale) : m_locale(locale) {}

    void add(const Row& row) {
        if (row.fields.size() < 2)
            throw Refusal{row.line, kTotalColumn, QStringLiteral("the total sales amount is missing")};
        std::vector<QString> fields;
        for (std::size_t i = 0; i < row.fields.size(); ++i) fields.push_back(decodedField(row, i));

        const bool firstRow = std::exchange(m_firstRow, false);
        if (firstRow && isHeader(fields)) return;

        if (m_list.recordCount() == kMaxRecords)
            throw Refusal{row.line, kNameColumn,
                          QStringLiteral("the list holds at most 32,767 records; this is one more")};
        const QString& name = fields[0];
        const QString& total = fields[1];
        if (name.trimmed().isEmpty())
            throw Refusal{row.line, kNameColumn, QStringLiteral("the salesperson's name is missing")};
        for (const int column : {kNameColumn, kTotalColumn})
            if (fields[std::size_t(column - 1)].size() > generator::kMaxRecordTextLength)
                throw Refusal{row.line, column,
                              QStringLiteral("the text is longer than the 32,767 characters a cell of the sheet holds")};
        if (const std::optional<QString> refusal = nameRefusal(name)) throw Refusal{row.line, kNameColumn, *refusal};
        if (const auto listed = m_lineOfName.constFind(name); listed != m_lineOfName.cend())
            throw Refusal{row.line, kNameColumn,
                          QStringLiteral("%1 is listed twice (first on line %2); the list holds each name once")
                              .arg(shell::quotedForMessage(name))
                              .arg(*listed)};
        if (!total.isEmpty() && !shell::IsNumeric(total, m_locale))
            throw Refusal{row.line, kTotalColumn, notANumber(total, m_locale)};

        m_lineOfName.insert(name, row.line);
        m_list.append({name, total});
    }

    generator::RecordList take() { return std::move(m_list); }

private:
    // Column titles hold no digits; a mistyped amount nearly always does, and is
    // then refused rather than skipped.
    static bool isHeader(const std::vector<QString>& fields) {
        auto holdsDigit = [](const QString& text) { return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }); };
        const QString& total = fields[1];
        return !total.isEmpty() && !holdsDigit(total) && (fields.size() < 3 || !holdsDigit(fields[2]));
    }

    const QLocale& m_locale;
    generator::RecordList m_list;
    QHash<QString, int> m_lineOfName;
    bool m_firstRow = true;
};

}  // namespace

QString RecordsFileError::text() const {
    QString where = file;
    if (line > 0) where += QLatin1Char(':') + QString::number(line);
    if (line > 0 && column > 0) where += QLatin1Char(':') + QString::number(column);
    return where + QStringLiteral(": ") + message;
}

CsvRecords parseCsvRecords(const QByteArray& bytes, const QString& fileName, const QLocale& locale) {
    try {
        CsvScanner scanner(bytes);
        ListBuilder builder(locale);
        Row row;
        while (scanner.next(row))
            if (!row.isEmptyLine()) builder.add(row);
        return builder.take();
    } catch (const Refusal& refusal) {
        return RecordsFileError{fileName, refusal.line, refusal.column, refusal.message};
    }
}

CsvRecords readCsvRecords(const QString& path, const QLocale& locale) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return RecordsFileError{path, 0, 0, file.errorString()};
    // Read in pieces up to the limit, so that an endless source (a device such as
    // /dev/zero) is refused rather than read until memory runs out.
    QByteArray bytes;
    bytes.reserve(std::clamp<qint64>(file.size(), 0, kMaxCsvFileBytes + 1));
    for (;;) {
        const QByteArray piece = file.read(1 << 20);
        if (piece.isEmpty()) break;
        bytes += piece;
        if (bytes.size() > kMaxCsvFileBytes)
            return RecordsFileError{path, 0, 0, QStringLiteral("the file is larger than 64 MiB, too large for a record list")};
    }
    if (file.error() != QFileDevice::NoError) return RecordsFileError{path, 0, 0, file.errorString()};
    return parseCsvRecords(bytes, path, locale);
}

}  // namespace records
