#include "records/record_import.h"

#include "generator/commission_sheet.h"
#include "records/record_rules.h"
#include "shell/message_text.h"
#include "records/saved_list_codec.h"
#include "shell/locale_number.h"

#include <QHash>
#include <algorithm>

namespace records {
namespace {

using generator::RecordTable;
using generator::TableCell;
using generator::TableRow;

constexpr int kRowsToGuessFrom = 20;

// A column title reduced to its letters, in lower case, without a part in
// brackets: "Total Sales Amount ($)" gives "totalsalesamount".
QString titleKey(const QString& title) {
    QString key;
    int depth = 0;
    for (const QChar c : title) {
        if (c == QLatin1Char('(')) ++depth;
        else if (c == QLatin1Char(')')) depth = std::max(0, depth - 1);
        else if (depth == 0 && c.isLetter()) key += c.toLower();
    }
    return key;
}

bool isNameTitle(const QString& key) {
    return key == QLatin1String("saleperson") || key == QLatin1String("salesperson") || key == QLatin1String("name");
}

bool isTotalTitle(const QString& key) {
    return key == QLatin1String("totalsalesamount") || key == QLatin1String("totalsales") ||
           key == QLatin1String("total") || key == QLatin1String("sales");
}

bool isNumber(const TableCell& cell, const QLocale& locale) {
    return cell.kind == TableCell::Kind::Number ||
           (cell.kind == TableCell::Kind::Text && shell::isNumeric(cell.text, locale));
}

const TableCell* cellAt(const TableRow& row, int column) {
    return column >= 0 && std::size_t(column) < row.cells.size() ? &row.cells[std::size_t(column)] : nullptr;
}

bool holdsDigit(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

// The columns titled as names and totals in the row; none unless both are.
std::optional<ImportColumns> titledColumns(const TableRow& row) {
    int name = -1;
    int total = -1;
    for (int c = 0; c < int(row.cells.size()); ++c) {
        if (row.cells[std::size_t(c)].kind != TableCell::Kind::Text) continue;
        const QString key = titleKey(row.cells[std::size_t(c)].text);
        if (name < 0 && isNameTitle(key)) name = c;
        else if (total < 0 && isTotalTitle(key)) total = c;
    }
    if (name < 0 || total < 0) return std::nullopt;
    return ImportColumns{name, total, true};
}

enum class ColumnKind { Empty, Numbers, Text };

// What each column holds in rows [first, end): numbers only, some text that is
// no number, or nothing.
std::vector<ColumnKind> columnKinds(const RecordTable& table, std::size_t first, std::size_t end, const QLocale& locale) {
    std::vector<ColumnKind> kinds(std::size_t(table.columnCount), ColumnKind::Empty);
    for (std::size_t r = first; r < end; ++r)
        for (int c = 0; c < table.columnCount; ++c) {
            const TableCell* cell = cellAt(table.rows[r], c);
            if (!cell || cell->text.isEmpty() || kinds[std::size_t(c)] == ColumnKind::Text) continue;
            kinds[std::size_t(c)] = isNumber(*cell, locale) ? ColumnKind::Numbers : ColumnKind::Text;
        }
    return kinds;
}

int firstOf(const std::vector<ColumnKind>& kinds, ColumnKind kind, int other = -1) {
    for (int c = 0; c < int(kinds.size()); ++c)
        if (kinds[std::size_t(c)] == kind && c != other) return c;
    return -1;
}

// Column titles hold no digits, and a mistyped amount nearly always does, so it
// is refused rather than skipped: the first row is a header when its total is a
// text without digits and none of its cells is a number.
bool looksLikeHeader(const TableRow& row, int totalColumn, const QLocale& locale) {
    const TableCell* total = cellAt(row, totalColumn);
    if (!total || total->kind != TableCell::Kind::Text || holdsDigit(total->text)) return false;
    return std::none_of(row.cells.begin(), row.cells.end(), [&](const TableCell& c) { return isNumber(c, locale); });
}

}  // namespace

ColumnGuess guessColumns(const RecordTable& table, const QLocale& locale) {
    using namespace generator::commission_layout;
    if (table.commissionSheet) return {{kNameColumn - 1, kTotalColumn - 1, true}, true};
    if (table.rows.empty()) return {};
    if (const std::optional<ImportColumns> titled = titledColumns(table.rows.front())) return {*titled, true};

    // The kinds of the columns below the first row, which may be a header; of the
    // first row too when the rows below show no numbers.
    const std::size_t end = std::min(table.rows.size(), std::size_t(kRowsToGuessFrom) + 1);
    std::vector<ColumnKind> kinds = columnKinds(table, table.rows.size() > 1 ? 1 : 0, end, locale);
    if (firstOf(kinds, ColumnKind::Numbers) < 0) kinds = columnKinds(table, 0, end, locale);
    const int text = firstOf(kinds, ColumnKind::Text);
    ColumnGuess guess;
    guess.columns.name = std::max(text, 0);
    const int number = firstOf(kinds, ColumnKind::Numbers, guess.columns.name);
    guess.found = text >= 0 && number >= 0;
    guess.columns.total = number >= 0 ? number : (guess.columns.name == 0 ? 1 : 0);
    guess.columns.firstRowIsHeader = table.rows.size() > 1 && looksLikeHeader(table.rows.front(), guess.columns.total, locale);
    return guess;
}

namespace {

// The commission of a total at a rate, both as read; a rate of zero gives "0".
std::optional<QString> commissionOf(std::optional<double> total, std::optional<double> rate, const QLocale& locale) {
    if (!total || !rate) return std::nullopt;
    if (*rate == 0.0) return QStringLiteral("0");
    return shell::commissionText(*total, *rate, locale);
}

}  // namespace

std::optional<QString> typedCommission(const QString& total, const QString& percentage, const QLocale& locale) {
    return commissionOf(shell::parseLocaleNumber(total, locale), shell::parseLocaleNumber(percentage, locale), locale);
}

QString notANumberMessage(const QString& text, const QLocale& locale) {
    return QStringLiteral("%1 is not a number (numbers are read by the rules of the locale %2)")
        .arg(shell::quotedForMessage(text), locale.name());
}

ImportPlan planImport(const RecordTable& table, const ImportColumns& columns, const QList<CommissionRecord>& listed,
                      const QString& percentage, const QLocale& locale) {
    ImportPlan plan;
    QHash<QString, int> positionOfName;
    positionOfName.reserve(listed.size());
    for (int i = 0; i < listed.size(); ++i) positionOfName.insert(listed[i].saleperson, i + 1);
    QHash<QString, int> lineOfName;  // names taken from the table so far
    plan.resultingCount = int(listed.size());

    const std::optional<double> rate = shell::parseLocaleNumber(percentage, locale);
    const int nameColumn = columns.name + 1;
    const int totalColumn = columns.total + 1;
    const std::size_t first = columns.firstRowIsHeader ? 1 : 0;
    for (std::size_t r = first; r < table.rows.size(); ++r) {
        const TableRow& row = table.rows[r];
        auto refuse = [&](int column, QString reason) { plan.refused.push_back({row.line, column, std::move(reason)}); };
        const TableCell* nameCell = cellAt(row, columns.name);
        const TableCell* totalCell = cellAt(row, columns.total);
        const QString name = nameCell ? nameCell->text : QString();
        if (name.trimmed().isEmpty()) {
            refuse(nameColumn, QStringLiteral("the salesperson's name is missing"));
            continue;
        }
        if (!totalCell) {
            refuse(totalColumn, QStringLiteral("the total sales amount is missing"));
            continue;
        }
        const QString& total = totalCell->text;
        if (name.size() > generator::kMaxRecordTextLength || total.size() > generator::kMaxRecordTextLength) {
            refuse(name.size() > generator::kMaxRecordTextLength ? nameColumn : totalColumn,
                   QStringLiteral("the text is longer than the 32,767 characters a cell of the sheet holds"));
            continue;
        }
        if (const std::optional<QString> refusal = nameRefusal(name)) {
            refuse(nameColumn, *refusal);
            continue;
        }
        const std::optional<double> totalValue =
            totalCell->kind == TableCell::Kind::Other ? std::nullopt : shell::parseLocaleNumber(total, locale);
        if (!total.isEmpty() && !totalValue) {
            refuse(totalColumn, notANumberMessage(total, locale));
            continue;
        }
        if (const auto taken = lineOfName.constFind(name); taken != lineOfName.cend()) {
            refuse(nameColumn, QStringLiteral("%1 is listed twice (first on line %2); the list holds each name once")
                                   .arg(shell::quotedForMessage(name))
                                   .arg(*taken));
            continue;
        }
        lineOfName.insert(name, row.line);

        const CommissionRecord record{name, total, commissionOf(totalValue, rate, locale).value_or(QString())};
        if (const auto listedAt = positionOfName.constFind(name); listedAt != positionOfName.cend()) {
            plan.updated.emplace_back(*listedAt, record);
            continue;
        }
        if (plan.resultingCount == kMaxRecords && plan.firstLineTooMany == 0) plan.firstLineTooMany = row.line;
        ++plan.resultingCount;
        plan.added.append(record);
    }
    return plan;
}

}  // namespace records
