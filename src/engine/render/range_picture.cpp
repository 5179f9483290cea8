#include "engine/render/range_picture.h"

#include "engine/render/border_painter.h"
#include "engine/render/cell_bands.h"
#include "engine/render/picture_grid.h"
#include "engine/render/picture_memory.h"
#include "engine/render/sheet_geometry.h"
#include "engine/render/style_looks.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace engine::render {

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dpi

CellArea withinSheet(const CellArea& a) {
    return {std::clamp(a.firstRow, 0, kMaxRows - 1), std::clamp(a.firstCol, 0, kMaxColumns - 1),
            std::clamp(a.lastRow, 0, kMaxRows - 1), std::clamp(a.lastCol, 0, kMaxColumns - 1)};
}

QString cutText(int count, const char* one, const char* many) {
    return QStringLiteral("\u2026 %1 %2 in the workbook")
        .arg(QLocale(QLocale::English).toString(count), QLatin1String(count == 1 ? one : many));
}

// The bands on the bottom and right that tell of rows and columns left out, in the
// sheet's own font and fill.
void paintCutBands(QPainter& painter, const PictureGrid& grid, StyleLooks& looks, const QSize& size) {
    const StyleLook& look = looks.look(grid.sheet().defaultStyle);
    const QColor background = look.fill.value_or(QColor(Qt::white));
    QFont font = look.font;
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(look.textColor);
    const int rowsCut = grid.rows().cutOff;
    const int columnsCut = grid.columns().cutOff;

    if (rowsCut > 0) {
        const QRect band(0, grid.height(), size.width(), size.height() - grid.height());
        painter.fillRect(band, background);
        painter.drawText(QRect(0, band.top(), grid.width(), band.height()), Qt::AlignCenter,
                         cutText(rowsCut, "more row", "more rows"));
    }
    if (columnsCut > 0) {
        const QRect band(grid.width(), 0, size.width() - grid.width(), size.height());
        painter.fillRect(band, background);
        painter.save();
        painter.translate(band.left(), grid.height());
        painter.rotate(-90);  // read from bottom to top along the band
        painter.drawText(QRect(0, 0, grid.height(), band.width()), Qt::AlignCenter,
                         cutText(columnsCut, "more column", "more columns"));
        painter.restore();
    }
}

}  // namespace

QImage renderRange(const WorkbookData& workbook, const SheetData& sheet, const CellArea& requested) {
    const CellArea area = withinSheet(requested);
    if (area.rowCount() <= 0 || area.columnCount() <= 0) return {};

    PictureAxis rows = layoutAxis(
        area.firstRow, area.lastRow, [&](int r) { return rowHeightPixels(sheet.rowHeight(r)); },
        kMaxPictureExtent, kCutBandThickness);
    PictureAxis columns = layoutAxis(
        area.firstCol, area.lastCol, [&](int c) { return columnWidthPixels(sheet.columnWidth(c)); },
        kMaxPictureExtent, kCutBandThickness);
    const QSize size(columns.extent() + (columns.cutOff > 0 ? kCutBandThickness : 0),
                     rows.extent() + (rows.cutOff > 0 ? kCutBandThickness : 0));
    if (size.isEmpty()) return {};

    QImage image = newPictureImage(size);
    if (image.isNull()) return image;
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);

    const PictureGrid grid(sheet, std::move(rows), std::move(columns));
    StyleLooks looks(workbook);
    paintCellsInBands(image, grid, workbook, looks);  // the cells' rows, white first
    QPainter painter(&image);
    painter.fillRect(0, grid.height(), size.width(), size.height() - grid.height(), Qt::white);
    paintBorders(painter, grid, looks);
    paintCutBands(painter, grid, looks, size);
    return image;
}

}  // namespace engine::render
