#include "records/records_file.h"

#include "generator/workbook_tables.h"
#include "records/record_import.h"
#include "records/text_table.h"
#include "shell/failure.h"

#include <QFile>

namespace records {

QString RecordsFileError::text() const {
    QString where = file;
    if (line > 0) where += QLatin1Char(':') + QString::number(line);
    if (line > 0 && column > 0) where += QLatin1Char(':') + QString::number(column);
    return where + QStringLiteral(": ") + message;
}

ImportSource ImportSource::fromBytes(const QByteArray& bytes, const QLocale& locale) {
    ImportSource source;
    if (generator::isWorkbook(bytes)) {
        source.m_tables = generator::readWorkbookTables(bytes, locale);
        return source;
    }
    QByteArray utf8 = textAsUtf8(bytes);
    source.m_separator = guessSeparator(utf8);
    source.m_tables.push_back(readTextTable(utf8, source.m_separator));
    source.m_utf8 = std::move(utf8);
    return source;
}

ImportSource ImportSource::fromText(const QString& text) {
    ImportSource source;
    QByteArray utf8 = text.toUtf8();
    source.m_separator = guessSeparator(utf8);
    source.m_tables.push_back(readTextTable(utf8, source.m_separator));
    source.m_utf8 = std::move(utf8);
    return source;
}

ImportSource ImportSource::fromTable(generator::RecordTable table) {
    ImportSource source;
    source.m_tables.push_back(std::move(table));
    return source;
}

void ImportSource::setSeparator(char separator) {
    if (!m_utf8 || separator == m_separator) return;
    m_tables.front() = readTextTable(*m_utf8, separator);
    m_separator = separator;
}

std::variant<QByteArray, RecordsFileError> readRecordsFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return RecordsFileError{path, 0, 0, file.errorString()};
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(1 << 20);
        if (piece.isEmpty()) break;
        bytes += piece;
        if (bytes.size() > kMaxRecordsFileBytes)
            return RecordsFileError{path, 0, 0, QStringLiteral("the file is larger than 64 MiB, too large for a record list")};
    }
    if (file.error() != QFileDevice::NoError) return RecordsFileError{path, 0, 0, file.errorString()};
    return bytes;
}

std::variant<ImportSource, RecordsFileError> openImportSource(const QByteArray& bytes, const QString& fileName,
                                                              const QLocale& locale) {
    try {
        return ImportSource::fromBytes(bytes, locale);
    } catch (const TextRefusal& refusal) {
        return RecordsFileError{fileName, refusal.line, refusal.column, refusal.message};
    } catch (const std::bad_alloc&) {
        return RecordsFileError{fileName, 0, 0, QStringLiteral("the file is too large to read")};
    } catch (const std::exception& failure) {
        return RecordsFileError{fileName, 0, 0, shell::describe(failure)};
    }
}

RecordsFromFile parseRecordsFile(const QByteArray& bytes, const QString& fileName, const QLocale& locale) {
    std::variant<ImportSource, RecordsFileError> opened = openImportSource(bytes, fileName, locale);
    if (auto* error = std::get_if<RecordsFileError>(&opened)) return std::move(*error);
    const generator::RecordTable& table = std::get<ImportSource>(opened).table(0);
    const ImportPlan plan = planImport(table, guessColumns(table, locale).columns, {}, QString(), locale);

    if (!plan.refused.empty() && (plan.fits() || plan.refused.front().line < plan.firstLineTooMany)) {
        const RefusedLine& first = plan.refused.front();
        return RecordsFileError{fileName, first.line, first.column, first.reason};
    }
    if (!plan.fits())
        return RecordsFileError{fileName, plan.firstLineTooMany, guessColumns(table, locale).columns.name + 1,
                                QStringLiteral("the list holds at most 32,767 records; this is one more")};
    generator::RecordList list({}, table.percentage.value_or(QString()));
    for (const CommissionRecord& record : plan.added) list.append({record.saleperson, record.totalSalesAmount});
    return list;
}

RecordsFromFile readRecordsFile(const QString& path, const QLocale& locale) {
    std::variant<QByteArray, RecordsFileError> bytes = readRecordsFileBytes(path);
    if (auto* error = std::get_if<RecordsFileError>(&bytes)) return std::move(*error);
    return parseRecordsFile(std::get<QByteArray>(bytes), path, locale);
}

namespace {

QByteArray csvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    const bool needsQuotes = bytes.contains(',') || bytes.contains(';') || bytes.contains('\t') ||
                             bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n');
    if (!needsQuotes) return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

}  // namespace

QByteArray recordsCsv(const QList<CommissionRecord>& rows) {
    QByteArray out;
    auto line = [&](const QString& name, const QString& total, const QString& commission) {
        out += csvField(name) + ',' + csvField(total) + ',' + csvField(commission) + "\r\n";
    };
    line(QString::fromLatin1(kColumnTitles[0]), QString::fromLatin1(kColumnTitles[1]), QString::fromLatin1(kColumnTitles[2]));
    for (const CommissionRecord& row : rows) line(row.saleperson, row.totalSalesAmount, row.commissionAmount);
    return out;
}

}  // namespace records
