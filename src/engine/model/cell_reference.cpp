#include "engine/model/cell_reference.h"

#include "engine/model/engine_error.h"

#include <algorithm>

namespace engine {

namespace {

// One corner of a reference: a column, a row, or both (-1 for the part it lacks).
struct Corner {
    int col = -1;  // 0-based
    int row = -1;  // 0-based
};

[[noreturn]] void unreadable(const QString& text) {
    throw EngineError(QStringLiteral("The range reference \"%1\" cannot be read.").arg(text));
}

// Reads a corner at p: an optional "$", up to three letters, an optional "$" after
// letters, up to six digits. Returns where it stops (a colon, the end of the text,
// or what cannot belong to a corner), or null when it is not one.
const char16_t* readCorner(const char16_t* p, const char16_t* end, Corner& corner) {
    if (p < end && *p == u'$') ++p;
    int col = 0, letters = 0;
    for (; p < end; ++p) {
        const char16_t upper = *p & ~0x20;  // ASCII letters of either case
        if (upper < u'A' || upper > u'Z') break;
        if (++letters > 3) return nullptr;
        col = col * 26 + (upper - u'A' + 1);
    }
    if (letters > 0) {
        if (col > kMaxColumns) return nullptr;
        corner.col = col - 1;
    }
    bool rowMarked = false;
    if (p < end && *p == u'$') {
        if (letters == 0) return nullptr;
        rowMarked = true;
        ++p;
    }
    int row = 0, digits = 0;
    for (; p < end && static_cast<unsigned>(*p - u'0') <= 9; ++p) {
        if (++digits > 6) return nullptr;
        row = row * 10 + (*p - u'0');
    }
    if (digits > 0) {
        if (row < 1 || row > kMaxRows) return nullptr;
        corner.row = row - 1;
    }
    if ((letters == 0 && digits == 0) || (rowMarked && digits == 0)) return nullptr;
    return p;
}

}  // namespace

CellArea parseRangeReference(const QString& text) {
    const auto* begin = reinterpret_cast<const char16_t*>(text.constData());
    const auto* end = begin + text.size();
    Corner first, second;
    // An area from a corner to itself ("$B7:$B7", "7:7") is read once.
    const qsizetype half = text.size() / 2;
    if (text.size() % 2 == 1 && begin[half] == u':' && std::equal(begin, begin + half, begin + half + 1) &&
        readCorner(begin, begin + half, first) == begin + half) {
        if (first.col < 0) return CellArea{first.row, 0, first.row, kMaxColumns - 1};
        if (first.row < 0) return CellArea{0, first.col, kMaxRows - 1, first.col};
        return CellArea{first.row, first.col, first.row, first.col};
    }
    const char16_t* p = readCorner(begin, end, first);
    if (!p || (p < end && *p != u':')) unreadable(text);
    const bool firstCell = first.row >= 0 && first.col >= 0;
    if (p == end) {
        if (!firstCell) unreadable(text);
        return CellArea{first.row, first.col, first.row, first.col};
    }
    if (readCorner(p + 1, end, second) != end) unreadable(text);
    if (firstCell && second.row >= 0 && second.col >= 0)
        return areaBetween(first.row, first.col, second.row, second.col);
    if (first.col < 0 && second.col < 0)  // whole rows
        return areaBetween(first.row, 0, second.row, kMaxColumns - 1);
    if (first.row < 0 && second.row < 0)  // whole columns
        return areaBetween(0, first.col, kMaxRows - 1, second.col);
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
