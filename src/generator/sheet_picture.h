#pragma once

#include "generator/print_setup.h"

#include <QImage>
#include <QLocale>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace engine {
class SheetSnapshot;
struct CellArea;
}  // namespace engine

namespace generator {

// The picture of an area of a generated sheet, painted on demand from a snapshot
// of the workbook: any part of it, at any zoom, onto any painter (a window, an
// image, a printer or PDF writer, where text stays text), and the whole of it as an
// image. Numbers show with the decimal and grouping separators of the locale the
// picture was prepared under; the workbook's number formats stay as they are.
// Cheap to copy: copies share the snapshot and never change. A default-made picture
// is null and shows nothing.
class SheetPicture {
public:
    SheetPicture() = default;
    // The picture of the snapshot's area; `locale` gives the separators.
    explicit SheetPicture(const engine::SheetSnapshot& snapshot, const QLocale& locale = QLocale());

    bool isNull() const { return !m_shared; }
    // The sheet area shown (0-based, inclusive).
    const engine::CellArea& area() const;
    // The picture of another area of the same sheet (the print area, say), with the
    // same separators.
    SheetPicture ofArea(const engine::CellArea& area) const;

    // The size at zoom 1: in pixels at 96 dpi, and in points (72 to the inch).
    QSize pixelSize() const;
    QSizeF pointSize() const;
    // Where the rows (columns) shown begin at zoom 1, in pixels, and after the last
    // one the picture's end: where pages may break. Empty for a null picture.
    const std::vector<int>& rowEdges() const;
    const std::vector<int>& columnEdges() const;

    // How the sheet prints, as its page setup holds it.
    PrintSetup printSetup() const;

    // Paints the part `region` of the picture at `zoom` onto painter, whose
    // coordinates are the zoomed picture's pixels with its top-left corner at the
    // origin. Only the region is touched: white where no cell paints.
    void paint(QPainter& painter, const QRectF& region, double zoom) const;
    // The whole picture at zoom for a screen of the given device pixel ratio (the
    // image carries that ratio); bounded in size, cut with a note of the rows left
    // out when longer. Null when nothing shows.
    QImage image(double zoom = 1, double devicePixelRatio = 1) const;

    // Where the sheet cell (row, col), 0-based, lies in the picture at zoom 1, in
    // pixels; empty when it does not show.
    QRect cellRect(int row, int col) const;
    // The text the picture shows for the sheet cell's value.
    QString cellText(int row, int col) const;

    // The picture read as a table, as a screen reader reads it: a row for each sheet
    // row shown and a column for each sheet column shown, from 0 at the top left.
    struct TableCell {
        int row = 0;  // where the cell starts in the table
        int column = 0;
        int rowSpan = 1;  // the rows and columns it covers: more than one for a merged area
        int columnSpan = 1;
        bool heading = false;  // it heads the cells under it
        QString text;          // what the picture shows in it
        QRect rect;            // where it lies at zoom 1, in pixels
    };
    int tableRowCount() const;
    int tableColumnCount() const;
    // The cell covering the table's place (row, column), which lies in the table.
    TableCell tableCell(int row, int column) const;
    // The place (row, column) at a point of the picture at zoom 1, in pixels; none
    // outside the picture.
    std::optional<std::pair<int, int>> tablePlaceAt(QPointF point) const;
    // The nearest row above `row` whose cells head the cells under them; -1 when none.
    int headingRowAbove(int row) const;

private:
    struct Shared;
    explicit SheetPicture(std::shared_ptr<const Shared> shared);

    std::shared_ptr<const Shared> m_shared;
};

}  // namespace generator
