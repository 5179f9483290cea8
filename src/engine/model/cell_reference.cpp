#include "engine/model/cell_reference.h"

#include "engine/model/engine_error.h"

#include <algorithm>
#include <optional>

namespace engine {

namespace {

// One corner of a reference: a column, a row, or both.
struct Corner {
    std::optional<int> col;  // 0-based
    std::optional<int> row;  // 0-based
};

[[noreturn]] void unreadable(const QString& text) {
    throw EngineError(QStringLiteral("The range reference \"%1\" cannot be read.").arg(text));
}

bool isLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Reads a corner from text[begin, end); empty when it is not one.
std::optional<Corner> readCorner(const QChar* p, const QChar* end) {
    Corner corner;
    if (p < end && *p == u'$') ++p;
    int col = 0, letters = 0;
    while (p < end && isLetter(*p)) {
        const char16_t letter = p->unicode() >= u'a' ? char16_t(p->unicode() - (u'a' - u'A')) : p->unicode();
        col = col * 26 + (letter - u'A' + 1);
        if (++letters > 3) return std::nullopt;
        ++p;
    }
    if (letters > 0) {
        if (col > kMaxColumns) return std::nullopt;
        corner.col = col - 1;
    }
    bool rowMarked = false;
    if (p < end && *p == u'$') {
        if (letters == 0) return std::nullopt;
        rowMarked = true;
        ++p;
    }
    long long row = 0;
    int digits = 0;
    while (p < end && isDigit(*p)) {
        row = row * 10 + (p->unicode() - u'0');
        if (++digits > 6) return std::nullopt;
        ++p;
    }
    if (digits > 0) {
        if (row < 1 || row > kMaxRows) return std::nullopt;
        corner.row = static_cast<int>(row - 1);
    }
    if (p != end || (letters == 0 && digits == 0) || (rowMarked && digits == 0)) return std::nullopt;
    return corner;
}

}  // namespace

CellArea parseRangeReference(const QString& text) {
    const QChar* begin = text.constData();
    const QChar* end = begin + text.size();
    const QChar* colon = std::find(begin, end, u':');
    const auto first = readCorner(begin, colon);
    if (!first) unreadable(text);
    if (colon == end) {
        if (!first->row || !first->col) unreadable(text);
        return CellArea{*first->row, *first->col, *first->row, *first->col};
    }
    const auto second = readCorner(colon + 1, end);
    if (!second) unreadable(text);
    const bool firstCell = first->row && first->col, secondCell = second->row && second->col;
    if (firstCell && secondCell)
        return areaBetween(*first->row, *first->col, *second->row, *second->col);
    if (!first->col && !second->col)  // whole rows
        return areaBetween(*first->row, 0, *second->row, kMaxColumns - 1);
    if (!first->row && !second->row)  // whole columns
        return areaBetween(0, *first->col, kMaxRows - 1, *second->col);
    unreadable(text);
}

CellArea parseRowsReference(const QString& text) {
    const bool hasColon = text.contains(u':');
    const CellArea area = parseRangeReference(hasColon ? text : text + u':' + text);
    if (!area.isWholeRows()) unreadable(text);
    return area;
}

CellArea parseColumnsReference(const QString& text) {
    const bool hasColon = text.contains(u':');
    const CellArea area = parseRangeReference(hasColon ? text : text + u':' + text);
    if (!area.isWholeColumns()) unreadable(text);
    return area;
}

QString columnLetters(int col) {
    QString letters;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString areaReference(const CellArea& area, bool absolute) {
    const QString d = absolute ? QStringLiteral("$") : QString();
    auto cell = [&](int row, int col) { return d + columnLetters(col) + d + QString::number(row + 1); };
    if (area.isWholeRows() && !area.isWholeColumns())
        return d + QString::number(area.firstRow + 1) + u':' + d + QString::number(area.lastRow + 1);
    if (area.isWholeColumns() && !area.isWholeRows())
        return d + columnLetters(area.firstCol) + u':' + d + columnLetters(area.lastCol);
    if (area.firstRow == area.lastRow && area.firstCol == area.lastCol)
        return cell(area.firstRow, area.firstCol);
    return cell(area.firstRow, area.firstCol) + u':' + cell(area.lastRow, area.lastCol);
}

}  // namespace engine
