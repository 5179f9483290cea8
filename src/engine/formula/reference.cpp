#include "engine/formula/reference.h"

#include "engine/model/cell_reference.h"

namespace engine::formula {

RefPart RefPart::fromAbsolute(int row, int col, bool rowRelative, bool colRelative, CellAddress at) {
    return RefPart{rowRelative ? row - at.row : row, colRelative ? col - at.col : col, rowRelative,
                   colRelative};
}

CellArea resolveArea(const RefPart& first, const RefPart& last, CellAddress at) {
    return areaBetween(first.absoluteRow(at), first.absoluteCol(at), last.absoluteRow(at), last.absoluteCol(at));
}

QString toA1(const RefPart& part, CellAddress at) {
    if (!part.isInsideSheet(at)) return QStringLiteral("#REF!");
    QString text;
    if (!part.colRelative) text += u'$';
    text += columnLetters(part.absoluteCol(at));
    if (!part.rowRelative) text += u'$';
    text += QString::number(part.absoluteRow(at) + 1);
    return text;
}

namespace {

QString r1c1Coordinate(QChar letter, int value, bool relative) {
    if (!relative) return letter + QString::number(value + 1);
    if (value == 0) return QString(letter);
    return letter + u'[' + QString::number(value) + u']';
}

}  // namespace

QString toR1C1(const RefPart& part) {
    return r1c1Coordinate(u'R', part.row, part.rowRelative) + r1c1Coordinate(u'C', part.col, part.colRelative);
}

}  // namespace engine::formula
