#include "generator/sheet_picture.h"

#include "engine/model/sheet.h"
#include "engine/render/range_picture.h"
#include "engine/sheet_snapshot.h"

#include <QPainter>

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

}  // namespace generator
