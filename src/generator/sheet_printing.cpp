#include "generator/sheet_printing.h"

#include "shell/atomic_file.h"
#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace generator {
namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;  // the picture's pixels are 96 to the inch
// Slack for the rounding of a scale worked out in floating point.
constexpr double kSlack = 1e-6;

// How many picture pixels (at zoom 1) a page's printable extent takes at a scale.
double pagePixels(double printablePoints, int percent) { return printablePoints * kPixelsPerPoint * 100 / percent; }

bool tooManyPages(std::size_t pages, int allowed) { return allowed > 0 && pages > static_cast<std::size_t>(allowed); }

}  // namespace

int printPercent(const QSizeF& area, const QSizeF& printable, const PrintSetup& setup) {
    if (setup.zoomPercent) return std::clamp(*setup.zoomPercent, kMinPrintPercent, kMaxPrintPercent);
    double scale = 1;
    if (setup.fitPagesWide > 0 && area.width() > 0)
        scale = std::min(scale, setup.fitPagesWide * printable.width() / area.width());
    if (setup.fitPagesTall > 0 && area.height() > 0)
        scale = std::min(scale, setup.fitPagesTall * printable.height() / area.height());
    const int percent = static_cast<int>(std::floor(scale * 100 + kSlack));
    return std::clamp(percent, kMinPrintPercent, 100);
}

std::vector<std::pair<int, int>> pageSpans(const std::vector<int>& edges, double pageExtent) {
    std::vector<std::pair<int, int>> spans;
    if (edges.size() < 2) return spans;
    // A page takes at least one pixel, so that any extent comes to an end.
    const int wholePage = std::max(1, static_cast<int>(std::floor(pageExtent + kSlack)));
    std::size_t row = 0;  // the row the page begins in
    int begin = edges.front();
    while (begin < edges.back()) {
        // The last edge that still fits on the page, if it lies beyond the page's start.
        const auto fitting = std::upper_bound(edges.begin() + row + 1, edges.end(), begin + pageExtent + kSlack);
        int end;
        if (fitting - edges.begin() > static_cast<std::ptrdiff_t>(row + 1)) {
            row = static_cast<std::size_t>(fitting - edges.begin()) - 1;
            end = edges[row];
        } else {
            // The row is longer than a page: the page takes what it holds of it.
            end = std::min(begin + wholePage, edges[row + 1]);
            if (end == edges[row + 1]) ++row;
        }
        spans.emplace_back(begin, end);
        begin = end;
    }
    return spans;
}

PrintPages layOutPages(const std::vector<int>& columnEdges, const std::vector<int>& rowEdges,
                       const QSizeF& printable, const PrintSetup& setup) {
    PrintPages pages;
    if (columnEdges.empty() || rowEdges.empty()) return pages;
    const QSizeF area = QSizeF(columnEdges.back(), rowEdges.back()) / kPixelsPerPoint;
    pages.percent = printPercent(area, printable, setup);
    auto spansAt = [&](int percent) {
        return std::pair(pageSpans(columnEdges, pagePixels(printable.width(), percent)),
                         pageSpans(rowEdges, pagePixels(printable.height(), percent)));
    };
    auto [across, down] = spansAt(pages.percent);
    if (!setup.zoomPercent) {
        while (pages.percent > kMinPrintPercent && (tooManyPages(across.size(), setup.fitPagesWide) ||
                                                    tooManyPages(down.size(), setup.fitPagesTall)))
            std::tie(across, down) = spansAt(--pages.percent);
    }
    for (const auto& [top, bottom] : down)
        for (const auto& [left, right] : across) pages.parts.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return pages;
}

SheetPicture printAreaOf(const SheetPicture& picture) {
    const std::optional<engine::CellArea> area = picture.printSetup().printArea;
    return area ? picture.ofArea(*area) : picture;
}

void printSheet(const SheetPicture& picture, QPagedPaintDevice& device) {
    const SheetPicture area = printAreaOf(picture);
    if (area.pixelSize().isEmpty()) throw shell::Failure(QStringLiteral("The sheet's print area shows nothing to print."));
    const QSizeF printable = device.pageLayout().paintRect(QPageLayout::Point).size();
    if (printable.isEmpty()) throw shell::Failure(QStringLiteral("The page leaves no room to print on."));
    const PrintPages pages = layOutPages(area.columnEdges(), area.rowEdges(), printable, picture.printSetup());
    // The pages chosen in a print dialog, numbered from 1; all when none were.
    std::vector<QRect> chosen;
    for (std::size_t i = 0; i < pages.parts.size(); ++i)
        if (device.pageRanges().isEmpty() || device.pageRanges().contains(static_cast<int>(i) + 1))
            chosen.push_back(pages.parts[i]);
    if (chosen.empty())
        throw shell::Failure(QStringLiteral("None of the pages chosen is in the print (pages 1 to %1).")
                                 .arg(pages.parts.size()));

    QPainter painter;
    if (!painter.begin(&device)) throw shell::Failure(QStringLiteral("The printer could not be started."));
    // The painter's origin is the printable part's corner, in the device's dots.
    const double zoom = pages.percent / 100.0 * device.logicalDpiX() / 96.0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (i > 0 && !device.newPage()) throw shell::Failure(QStringLiteral("The printer refused a new page."));
        const QRectF part(QPointF(chosen[i].topLeft()) * zoom, QSizeF(chosen[i].size()) * zoom);
        painter.save();
        painter.setClipRect(QRectF(QPointF(), part.size()));
        painter.translate(-part.topLeft());
        area.paint(painter, part, zoom);
        painter.restore();
    }
    if (!painter.end()) throw shell::Failure(QStringLiteral("The printer could not finish the print."));
}

void exportSheetPdf(const SheetPicture& picture, const QString& path) {
    shell::writeFileAtomically(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setCreator(QString::fromLatin1(shell::kProductName));
        if (!writer.setPageLayout(picture.printSetup().pageLayout()))
            throw shell::Failure(QStringLiteral("The sheet's page cannot be set up for a PDF file."));
        printSheet(picture, writer);
        return true;
    });
}

}  // namespace generator
