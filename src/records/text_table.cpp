#include "records/text_table.h"

#include <QStringDecoder>
#include <algorithm>
#include <vector>

namespace records {
namespace {

constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kRowsToGuessFrom = 20;

struct Field {
    QByteArray bytes;
    bool quoted = false;
};

struct Row {
    int line = 0;  // where the row starts
    std::vector<Field> fields;
    bool isEmptyLine() const { return fields.size() == 1 && !fields[0].quoted && fields[0].bytes.isEmpty(); }
};

// Splits UTF-8 bytes into rows of fields by RFC 4180's quoting. Separators,
// quotes and line breaks are single bytes that never occur inside a UTF-8
// sequence, so the split needs no decoding.
class TextScanner {
public:
    TextScanner(const QByteArray& bytes, char separator)
        : m_at(bytes.constBegin()), m_end(bytes.constEnd()), m_separator(separator) {}

    // The next row; false at the end of the bytes. Throws TextRefusal.
    bool next(Row& row) {
        if (m_at == m_end) return false;
        row.line = m_line;
        row.fields.clear();
        for (;;) {
            if (row.fields.size() == std::size_t(kMaxTextFields))
                throw TextRefusal{m_line, kMaxTextFields + 1,
                                  QStringLiteral("a line holds at most %1 fields").arg(kMaxTextFields)};
            row.fields.push_back(readField(int(row.fields.size()) + 1));
            if (m_at != m_end && *m_at == m_separator) {
                ++m_at;
                continue;
            }
            if (m_at != m_end) skipLineBreak();
            return true;
        }
    }

private:
    bool endsField(char c) const { return c == m_separator || c == '\r' || c == '\n'; }

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
                throw TextRefusal{openedOn, column, QStringLiteral("the quoted field opened here has no closing quote")};
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
            // The run up to the next quote or line break at once.
            const char* start = m_at;
            while (m_at != m_end && *m_at != '"' && *m_at != '\r' && *m_at != '\n') ++m_at;
            field.bytes.append(start, m_at - start);
        }
        if (m_at != m_end && !endsField(*m_at))
            throw TextRefusal{m_line, column, QStringLiteral("text follows the closing quote of a quoted field")};
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
    char m_separator;
    int m_line = 1;
};

QString decodedField(const Row& row, std::size_t index) {
    // A byte order mark inside a field is text like any other.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(row.fields[index].bytes);
    if (decoder.hasError()) throw TextRefusal{row.line, int(index) + 1, QStringLiteral("the text is not valid UTF-8")};
    return text;
}

// UTF-16 code units to UTF-8, refusing a lone surrogate or an odd last byte at its line.
QByteArray utf16AsUtf8(QByteArrayView units, bool bigEndian) {
    QString text;
    text.reserve(units.size() / 2);
    int line = 1;
    char16_t previous = 0;
    auto unitAt = [&](qsizetype i) {
        const auto first = char16_t(uchar(units[i])), second = char16_t(uchar(units[i + 1]));
        return bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    };
    for (qsizetype i = 0; i + 1 < units.size(); i += 2) {
        const char16_t unit = unitAt(i);
        const bool high = QChar::isHighSurrogate(unit);
        const bool low = QChar::isLowSurrogate(unit);
        const bool nextIsLow = i + 3 < units.size() && QChar::isLowSurrogate(unitAt(i + 2));
        if ((high && !nextIsLow) || (low && !QChar::isHighSurrogate(previous)))
            throw TextRefusal{line, 0, QStringLiteral("the text is not valid UTF-16")};
        if (unit == u'\n' || (unit == u'\r' && !(i + 3 < units.size() && unitAt(i + 2) == u'\n'))) ++line;
        text += QChar(unit);
        previous = unit;
    }
    if (units.size() % 2 != 0) throw TextRefusal{line, 0, QStringLiteral("the text is not valid UTF-16: it ends in half a character")};
    return text.toUtf8();
}

// Fields per row of the first rows under a separator; empty when it breaks the quoting.
std::vector<std::size_t> fieldCounts(const QByteArray& utf8, char separator) {
    std::vector<std::size_t> counts;
    try {
        TextScanner scanner(utf8, separator);
        Row row;
        while (int(counts.size()) < kRowsToGuessFrom && scanner.next(row))
            if (!row.isEmptyLine()) counts.push_back(row.fields.size());
    } catch (const TextRefusal&) {
        counts.clear();
    }
    return counts;
}

}  // namespace

QByteArray textAsUtf8(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) return utf16AsUtf8(QByteArrayView(bytes).sliced(2), false);
    if (bytes.startsWith("\xFE\xFF")) return utf16AsUtf8(QByteArrayView(bytes).sliced(2), true);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        throw TextRefusal{int(bytes.first(nul).count('\n')) + 1, 0,
                          QStringLiteral("the file is neither a text table (it holds a NUL character) nor a workbook "
                                         "this program reads")};
    return bytes.startsWith(kUtf8ByteOrderMark) ? bytes.sliced(3) : bytes;
}

char guessSeparator(const QByteArray& utf8) {
    char most = ',';
    std::size_t mostSplit = 0;
    for (const char separator : {'\t', ';', ','}) {
        const std::vector<std::size_t> counts = fieldCounts(utf8, separator);
        if (counts.empty()) continue;
        if (counts.front() >= 2 && std::all_of(counts.begin(), counts.end(), [&](std::size_t n) { return n == counts.front(); }))
            return separator;
        const auto split = std::size_t(std::count_if(counts.begin(), counts.end(), [](std::size_t n) { return n >= 2; }));
        if (split > mostSplit) {
            most = separator;
            mostSplit = split;
        }
    }
    return most;
}

generator::RecordTable readTextTable(const QByteArray& utf8, char separator) {
    generator::RecordTable table;
    TextScanner scanner(utf8, separator);
    Row row;
    while (scanner.next(row)) {
        if (row.isEmptyLine()) continue;
        generator::TableRow out{row.line, std::vector<generator::TableCell>(row.fields.size())};
        for (std::size_t i = 0; i < row.fields.size(); ++i) {
            QString text = decodedField(row, i);
            if (!text.isEmpty()) out.cells[i] = {std::move(text), generator::TableCell::Kind::Text};
        }
        table.columnCount = std::max(table.columnCount, int(out.cells.size()));
        table.rows.push_back(std::move(out));
    }
    return table;
}

QString separatorName(char separator) {
    switch (separator) {
    case ';': return QStringLiteral("semicolon");
    case '\t': return QStringLiteral("tab");
    default: return QStringLiteral("comma");
    }
}

}  // namespace records
