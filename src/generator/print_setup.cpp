#include "generator/print_setup.h"

#include "engine/model/page_setup.h"

#include <QSizeF>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace generator {
namespace {

constexpr double kPointsPerInch = 72;

// Paper sizes by the numbers a workbook stores them with.
constexpr std::array<std::pair<int, QPageSize::PageSizeId>, 12> kPaperSizes = {{
    {1, QPageSize::Letter},
    {3, QPageSize::Tabloid},
    {4, QPageSize::Ledger},
    {5, QPageSize::Legal},
    {7, QPageSize::Executive},
    {8, QPageSize::A3},
    {9, QPageSize::A4},
    {11, QPageSize::A5},
    {12, QPageSize::JisB4},
    {13, QPageSize::JisB5},
    {14, QPageSize::Folio},
    {15, QPageSize::Quarto},
}};

QPageSize::PageSizeId paperOf(engine::PaperSize size) {
    for (const auto& [number, id] : kPaperSizes)
        if (number == static_cast<int>(size)) return id;
    return QPageSize::Letter;
}

// The two margins of one direction, shrunk alike where they would leave less than
// an inch of the paper's extent to print on.
std::pair<double, double> fittingPair(double first, double second, double extent) {
    // A margin read from a damaged file may be no number or below nothing.
    first = std::isfinite(first) ? std::max(0.0, first) : 0;
    second = std::isfinite(second) ? std::max(0.0, second) : 0;
    const double room = std::max(0.0, extent - kPointsPerInch);
    if (first + second <= room) return {first, second};
    const double shrink = room / (first + second);
    return {first * shrink, second * shrink};
}

}  // namespace

QPageLayout PrintSetup::pageLayout() const {
    const QSizeF sheet = orientation == QPageLayout::Landscape ? paper.size(QPageSize::Point).transposed()
                                                                : paper.size(QPageSize::Point);
    const auto [left, right] = fittingPair(margins.left(), margins.right(), sheet.width());
    const auto [top, bottom] = fittingPair(margins.top(), margins.bottom(), sheet.height());
    return QPageLayout(paper, orientation, QMarginsF(left, top, right, bottom), QPageLayout::Point);
}

PrintSetup printSetupOf(const engine::PageSetupData& page) {
    PrintSetup setup;
    setup.paper = QPageSize(paperOf(page.paperSize));
    setup.orientation =
        page.orientation == engine::Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    setup.margins = QMarginsF(page.leftMargin, page.topMargin, page.rightMargin, page.bottomMargin) * kPointsPerInch;
    setup.printArea = page.printArea;
    setup.zoomPercent = page.zoom;
    setup.fitPagesWide = page.fitToPagesWide;
    setup.fitPagesTall = page.fitToPagesTall;
    return setup;
}

}  // namespace generator
