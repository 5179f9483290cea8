#include "generator/sheet_picture.h"

#include "engine/model/sheet.h"
#include "engine/render/range_picture.h"
#include "engine/sheet_snapshot.h"
#include "generator/commission_sheet.h"

#include <QPainter>
#include <algorithm>

namespace generator {

struct SheetPicture::Shared {
    Shared(const engine::SheetSnapshot& taken, engine::render::NumberSymbols symbols)
        : snapshot(taken), picture(snapshot.workbook(), snapshot.sheet(), snapshot.area(), std::move(symbols)) {}

    const engine::SheetSnapshot snapshot;  // keeps what the picture reads
    const engine::render::RangePicture picture;
};

namespace {

const engine::CellArea kNoArea{};
const std::vector<int> kNoEdges;

// The sheet rows, 0-based, whose cells head the cells under them.
constexpr int kHeadingRows[] = {commission_layout::kSummaryLabelRow - 1, commission_layout::kHeaderRow - 1};

// The position along an axis whose pixels hold `at`; none outside the axis.
std::optional<int> positionAt(const engine::render::PictureAxis& axis, double at) {
    if (axis.indices.empty() || at < 0 || at >= axis.extent()) return std::nullopt;
    return static_cast<int>(std::upper_bound(axis.starts.begin() + 1, axis.starts.end(), at) - axis.starts.begin() - 1);
}

}  // namespace

SheetPicture::SheetPicture(const engine::SheetSnapshot& snapshot, const QLocale& locale)
    : m_shared(std::make_shared<const Shared>(snapshot, engine::render::NumberSymbols::of(locale))) {}

SheetPicture::SheetPicture(std::shared_ptr<const Shared> shared) : m_shared(std::move(shared)) {}

const engine::CellArea& SheetPicture::area() const { return m_shared ? m_shared->picture.area() : kNoArea; }

SheetPicture SheetPicture::ofArea(const engine::CellArea& area) const {
    if (!m_shared) return {};
    return SheetPicture(std::make_shared<const Shared>(m_shared->snapshot.withArea(area), m_shared->picture.symbols()));
}

QSize SheetPicture::pixelSize() const { return m_shared ? m_shared->picture.size() : QSize(); }

QSizeF SheetPicture::pointSize() const {
    constexpr double kPointsPerPixel = 72.0 / 96.0;
    return QSizeF(pixelSize()) * kPointsPerPixel;
}

const std::vector<int>& SheetPicture::rowEdges() const {
    return m_shared ? m_shared->picture.rows().starts : kNoEdges;
}

const std::vector<int>& SheetPicture::columnEdges() const {
    return m_shared ? m_shared->picture.columns().starts : kNoEdges;
}

PrintSetup SheetPicture::printSetup() const {
    return m_shared ? printSetupOf(m_shared->snapshot.sheet().pageSetup) : PrintSetup();
}

void SheetPicture::paint(QPainter& painter, const QRectF& region, double zoom) const {
    if (!m_shared || !(zoom > 0)) return;
    painter.save();
    painter.scale(zoom, zoom);
    m_shared->picture.paint(painter, QRectF(region.topLeft() / zoom, region.size() / zoom));
    painter.restore();
}

QImage SheetPicture::image(double zoom, double devicePixelRatio) const {
    if (!m_shared || !(zoom > 0) || !(devicePixelRatio > 0)) return {};
    QImage image = m_shared->picture.image(zoom * devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QRect SheetPicture::cellRect(int row, int col) const { return m_shared ? m_shared->picture.cellRect(row, col) : QRect(); }

QString SheetPicture::cellText(int row, int col) const {
    return m_shared ? m_shared->picture.cellText(row, col) : QString();
}

int SheetPicture::tableRowCount() const { return m_shared ? m_shared->picture.rows().count() : 0; }

int SheetPicture::tableColumnCount() const { return m_shared ? m_shared->picture.columns().count() : 0; }

SheetPicture::TableCell SheetPicture::tableCell(int row, int column) const {
    if (!m_shared) return {};
    const engine::render::PictureAxis& rows = m_shared->picture.rows();
    const engine::render::PictureAxis& columns = m_shared->picture.columns();
    const int sheetRow = rows.indices.at(row);
    const int sheetColumn = columns.indices.at(column);
    engine::CellArea area{sheetRow, sheetColumn, sheetRow, sheetColumn};
    if (const engine::CellArea* merge = m_shared->snapshot.sheet().mergeContaining(sheetRow, sheetColumn))
        area = *merge;
    const auto [rowBegin, rowEnd] = rows.positionsOf(area.firstRow, area.lastRow);
    const auto [columnBegin, columnEnd] = columns.positionsOf(area.firstCol, area.lastCol);
    TableCell cell;
    cell.row = rowBegin;
    cell.column = columnBegin;
    cell.rowSpan = rowEnd - rowBegin;
    cell.columnSpan = columnEnd - columnBegin;
    cell.heading = std::ranges::find(kHeadingRows, rows.indices[rowBegin]) != std::end(kHeadingRows);
    cell.text = cellText(sheetRow, sheetColumn);
    cell.rect = cellRect(sheetRow, sheetColumn);
    return cell;
}

std::optional<std::pair<int, int>> SheetPicture::tablePlaceAt(QPointF point) const {
    if (!m_shared) return std::nullopt;
    const auto row = positionAt(m_shared->picture.rows(), point.y());
    const auto column = positionAt(m_shared->picture.columns(), point.x());
    if (!row || !column) return std::nullopt;
    return std::pair(*row, *column);
}

int SheetPicture::headingRowAbove(int row) const {
    if (!m_shared) return -1;
    int heading = -1;
    for (const int sheetRow : kHeadingRows) {
        const auto [begin, end] = m_shared->picture.rows().positionsOf(sheetRow, sheetRow);
        if (begin < end && begin < row) heading = std::max(heading, begin);
    }
    return heading;
}

}  // namespace generator
