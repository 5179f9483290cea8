#include "engine/render/range_picture.h"

#include "engine/render/border_painter.h"
#include "engine/render/cell_bands.h"
#include "engine/render/cell_painter.h"
#include "engine/render/picture_grid.h"
#include "engine/render/picture_memory.h"
#include "engine/render/sheet_geometry.h"
#include "engine/render/style_looks.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace engine::render {

namespace {

constexpr double kDotsPerMeter = 3780;  // 96 dpi

CellArea withinSheet(const CellArea& a) {
    return {std::clamp(a.firstRow, 0, kMaxRows - 1), std::clamp(a.firstCol, 0, kMaxColumns - 1),
            std::clamp(a.lastRow, 0, kMaxRows - 1), std::clamp(a.lastCol, 0, kMaxColumns - 1)};
}

// The farthest any cell's painting may reach beyond its cell: that of the largest
// font the workbook's styles name.
int textReachOf(const StyleTable& styles) {
    int largest = 0;
    for (const CellStyle& style : styles.all()) largest = std::max(largest, fontPixelSize(style.font.size));
    return paintingReach(largest);
}

QString cutText(int count, const char* one, const char* many) {
    return QStringLiteral("\u2026 %1 %2 in the workbook")
        .arg(QLocale(QLocale::English).toString(count), QLatin1String(count == 1 ? one : many));
}

// The bands on the bottom and right that tell of rows and columns left out, in the
// sheet's own font and fill; `size` is the whole image's, in picture pixels.
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

// Positions [begin, end) grown by `more` on each side, within [0, count).
std::pair<int, int> widened(std::pair<int, int> positions, int more, int count) {
    return {std::max(0, positions.first - more), std::min(count, positions.second + more)};
}

}  // namespace

RangePicture::RangePicture(const WorkbookData& workbook, const SheetData& sheet, const CellArea& area,
                           NumberSymbols symbols)
    : m_workbook(workbook),
      m_sheet(sheet),
      m_area(withinSheet(area)),
      m_symbols(std::move(symbols)),
      m_rows(layoutAxis(m_area.firstRow, m_area.lastRow,
                        [&](int r) { return rowHeightPixels(sheet.rowHeight(r)); })),
      m_columns(layoutAxis(m_area.firstCol, m_area.lastCol,
                           [&](int c) { return columnWidthPixels(sheet.columnWidth(c)); })),
      m_textReach(textReachOf(workbook.styles)) {}

RangePicture::~RangePicture() = default;

StyleLooks& RangePicture::looksForThisThread(std::unique_ptr<StyleLooks>& own) const {
    const std::lock_guard lock(m_looksMutex);
    if (!m_looks) {
        m_looks = std::make_unique<StyleLooks>(m_workbook, m_symbols);
        m_looksThread = std::this_thread::get_id();
    }
    if (m_looksThread == std::this_thread::get_id()) return *m_looks;
    own = std::make_unique<StyleLooks>(m_workbook, m_symbols);
    return *own;
}

QRect RangePicture::cellRect(int row, int col) const {
    CellArea cells{row, col, row, col};
    if (const CellArea* merge = m_sheet.mergeContaining(row, col)) cells = *merge;
    const auto [rowBegin, rowEnd] = m_rows.positionsOf(cells.firstRow, cells.lastRow);
    const auto [colBegin, colEnd] = m_columns.positionsOf(cells.firstCol, cells.lastCol);
    if (rowBegin == rowEnd || colBegin == colEnd) return {};
    return QRect(QPoint(m_columns.start(colBegin), m_rows.start(rowBegin)),
                 QPoint(m_columns.end(colEnd - 1) - 1, m_rows.end(rowEnd - 1) - 1));
}

QString RangePicture::cellText(int row, int col) const {
    if (const CellArea* merge = m_sheet.mergeContaining(row, col)) {
        row = merge->firstRow;
        col = merge->firstCol;
    }
    const Cell* cell = m_sheet.cell(row, col);
    if (!cell) return {};
    const StyleId style = m_sheet.effectiveStyle(row, col);
    const QString format = style < m_workbook.styles.size() ? m_workbook.styles.style(style).numberFormat : QString();
    return NumberFormat(format, m_symbols).format(cell->value);
}

void RangePicture::paint(QPainter& painter, const QRectF& region) const {
    const QRectF shown = region.intersected(QRectF(QPointF(0, 0), QSizeF(size())));
    if (shown.isEmpty()) return;
    const QRect pixels = shown.toAlignedRect();

    // The cells whose painting may reach into the region: those within reach of it,
    // one more each way for the borders on its edges, and merged areas whole. They
    // are painted in the order the whole picture paints them, so the region comes
    // out as the same part of the whole picture.
    auto rows = widened(m_rows.positionsCovering(pixels.top() - m_textReach, pixels.bottom() + 1 + m_textReach), 1,
                        m_rows.count());
    auto columns = widened(
        m_columns.positionsCovering(pixels.left() - m_textReach, pixels.right() + 1 + m_textReach), 1,
        m_columns.count());
    for (bool grown = true; grown;) {
        grown = false;
        for (const CellArea& merge : m_sheet.merges) {
            const auto [rowBegin, rowEnd] = m_rows.positionsOf(merge.firstRow, merge.lastRow);
            const auto [colBegin, colEnd] = m_columns.positionsOf(merge.firstCol, merge.lastCol);
            const bool meets = rowBegin < rows.second && rowEnd > rows.first && colBegin < columns.second &&
                               colEnd > columns.first;
            if (!meets || (rowBegin >= rows.first && rowEnd <= rows.second && colBegin >= columns.first &&
                           colEnd <= columns.second))
                continue;
            rows = {std::min(rows.first, rowBegin), std::max(rows.second, rowEnd)};
            columns = {std::min(columns.first, colBegin), std::max(columns.second, colEnd)};
            grown = true;
        }
    }
    const PictureGrid grid(m_sheet, m_rows.slice(rows.first, rows.second),
                           m_columns.slice(columns.first, columns.second), size());

    std::unique_ptr<StyleLooks> own;
    StyleLooks& looks = looksForThisThread(own);
    painter.save();
    painter.setClipRect(shown, Qt::IntersectClip);
    painter.fillRect(shown, Qt::white);
    paintCells(painter, grid, looks, 0, grid.rowCount());
    paintBorders(painter, grid, looks);
    painter.restore();
}

QImage RangePicture::image(double scale) const {
    if (!(scale > 0) || !std::isfinite(scale)) return {};
    const int limit = static_cast<int>(std::floor(kMaxPictureExtent / scale));
    const int band = static_cast<int>(std::ceil(kCutBandThickness / scale));
    PictureAxis rows = m_rows.cutTo(limit, band, m_area.lastRow);
    PictureAxis columns = m_columns.cutTo(limit, band, m_area.lastCol);
    const QSize size(columns.extent() + (columns.cutOff > 0 ? band : 0), rows.extent() + (rows.cutOff > 0 ? band : 0));
    if (size.isEmpty()) return {};

    QImage image = newPictureImage(
        QSize(static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale))));
    if (image.isNull()) return image;
    image.setDotsPerMeterX(static_cast<int>(std::lround(kDotsPerMeter * scale)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(kDotsPerMeter * scale)));

    const PictureGrid grid(m_sheet, std::move(rows), std::move(columns));
    std::unique_ptr<StyleLooks> own;
    StyleLooks& looks = looksForThisThread(own);
    if (scale == 1) {
        paintCellsInBands(image, grid, m_workbook, looks);  // the cells' rows, white first
        QPainter painter(&image);
        painter.fillRect(0, grid.height(), size.width(), size.height() - grid.height(), Qt::white);
        paintBorders(painter, grid, looks);
        paintCutBands(painter, grid, looks, size);
        return image;
    }
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::white);
    painter.scale(scale, scale);
    paintCells(painter, grid, looks, 0, grid.rowCount());
    paintBorders(painter, grid, looks);
    paintCutBands(painter, grid, looks, size);
    return image;
}

QImage renderRange(const WorkbookData& workbook, const SheetData& sheet, const CellArea& area,
                   const NumberSymbols& symbols) {
    return RangePicture(workbook, sheet, area, symbols).image();
}

}  // namespace engine::render
