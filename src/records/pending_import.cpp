#include "records/pending_import.h"

#include "records/text_table.h"

namespace records {
namespace {

constexpr int kFirstRowsShown = 20;

// "A" for the first column of a sheet, "AA" for the 27th.
QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString counted(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

}  // namespace

PendingImport::PendingImport(ImportSource source, QString sourceName, QList<CommissionRecord> listed,
                             QString percentage, QLocale locale)
    : m_source(std::move(source)),
      m_sourceName(std::move(sourceName)),
      m_listed(std::move(listed)),
      m_percentage(std::move(percentage)),
      m_locale(std::move(locale)) {
    guess();
}

void PendingImport::guess() {
    const ColumnGuess guessed = guessColumns(table(), m_locale);
    m_columns = guessed.columns;
    m_columnsFound = guessed.found;
    m_takesPercentage = table().percentage.has_value();
    replan();
}

void PendingImport::replan() {
    m_plan = m_textRefusal ? ImportPlan{}
                           : planImport(table(), m_columns, m_listed, percentageToSet().value_or(m_percentage), m_locale);
}

std::optional<QString> PendingImport::refusalOfWholeSource() const {
    if (m_source.tableCount() > 1) return std::nullopt;
    if (table().rows.empty()) return QStringLiteral("it holds no rows.");
    if (!m_columnsFound) return QStringLiteral("it shows no column of names beside a column of numbers.");
    return std::nullopt;
}

std::optional<QString> PendingImport::percentageToSet() const {
    return m_takesPercentage ? table().percentage : std::nullopt;
}

QStringList PendingImport::sheetNames() const {
    QStringList names;
    if (m_source.isText()) return names;
    for (int i = 0; i < m_source.tableCount(); ++i) names << m_source.table(i).sheetName;
    return names;
}

void PendingImport::setSheet(int index) {
    if (index < 0 || index >= m_source.tableCount() || index == m_sheet) return;
    m_sheet = index;
    guess();
}

void PendingImport::setSeparator(char separator) {
    try {
        m_source.setSeparator(separator);
        m_textRefusal.reset();
    } catch (const TextRefusal& refusal) {
        m_textRefusal = refusal;
        m_refusedSeparator = separator;
        replan();
        return;
    }
    guess();
}

QStringList PendingImport::columnTitles() const {
    QStringList titles;
    const generator::RecordTable& t = table();
    for (int c = 0; c < t.columnCount; ++c) {
        QString title = t.columnsHaveLetters ? columnLetters(c) : QString::number(c + 1);
        if (m_columns.firstRowIsHeader && !t.rows.empty() && std::size_t(c) < t.rows.front().cells.size() &&
            !t.rows.front().cells[std::size_t(c)].text.isEmpty())
            title += QStringLiteral(": ") + t.rows.front().cells[std::size_t(c)].text;
        titles << title;
    }
    return titles;
}

void PendingImport::setNameColumn(int column) {
    m_columns.name = column;
    replan();
}

void PendingImport::setTotalColumn(int column) {
    m_columns.total = column;
    replan();
}

void PendingImport::setFirstRowIsHeader(bool header) {
    m_columns.firstRowIsHeader = header;
    replan();
}

void PendingImport::setTakesPercentage(bool take) {
    m_takesPercentage = take && table().percentage.has_value();
    replan();
}

QList<shell::ImportPreview::Row> PendingImport::firstRows() const {
    QList<Row> rows;
    const generator::RecordTable& t = table();
    for (std::size_t r = 0; r < t.rows.size() && rows.size() < kFirstRowsShown; ++r) {
        Row row{t.rows[r].line, {}};
        for (const generator::TableCell& cell : t.rows[r].cells) row.cells << cell.text;
        rows << row;
    }
    return rows;
}

QString PendingImport::outcome() const {
    if (m_textRefusal)
        return QStringLiteral("Nothing: split at the %1, line %2 cannot be read: %3.")
            .arg(separatorName(m_refusedSeparator))
            .arg(m_textRefusal->line)
            .arg(m_textRefusal->message);
    if (table().rows.empty()) return QStringLiteral("Nothing: there are no rows to import.");
    if (!m_plan.fits())
        return QStringLiteral("Nothing: the list would hold %1 records, more than the 32,767 it can hold.")
            .arg(m_locale.toString(m_plan.resultingCount));
    return QStringLiteral("%1, %2, %3.")
        .arg(counted(m_plan.added.size(), "row added", "rows added"),
             counted(qsizetype(m_plan.updated.size()), "row of the same name updated", "rows of the same name updated"),
             counted(qsizetype(m_plan.refused.size()), "line refused", "lines refused"));
}

QStringList PendingImport::refusals() const {
    QStringList out;
    out.reserve(qsizetype(m_plan.refused.size()));
    for (const RefusedLine& refused : m_plan.refused)
        out << QStringLiteral("Line %1: %2").arg(refused.line).arg(refused.reason);
    return out;
}

bool PendingImport::canApply() const {
    return !m_textRefusal && m_plan.fits() &&
           (!m_plan.added.isEmpty() || !m_plan.updated.empty() ||
            (percentageToSet() && *percentageToSet() != m_percentage));
}

}  // namespace records
