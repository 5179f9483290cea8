#include "engine/render/cell_bands.h"

#include "engine/render/cell_painter.h"

#include <QPainter>
#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

namespace engine::render {

namespace {

// Below this many rows a second thread costs about what it saves: it loads the
// fonts anew, which takes about as long as painting a few hundred rows.
constexpr int kMinRowsForBands = 600;

// The picture's pixel rows [top, bottom) as an image of their own over the same memory.
QImage rowsOf(QImage& image, int top, int bottom) {
    QImage rows(image.bits() + static_cast<qsizetype>(top) * image.bytesPerLine(), image.width(), bottom - top,
                image.bytesPerLine(), image.format());
    rows.setDotsPerMeterX(image.dotsPerMeterX());
    rows.setDotsPerMeterY(image.dotsPerMeterY());
    return rows;
}

// Fills the rows of grid rows [firstRow, endRow) white and paints their cells; rows
// is the image of just those pixel rows, held nowhere else (a shared one would be
// copied when painted).
PaintedRows paintBand(QImage& rows, const PictureGrid& grid, StyleLooks& looks, int firstRow, int endRow) {
    rows.fill(Qt::white);
    QPainter painter(&rows);
    return paintCells(painter, grid, looks, firstRow, endRow, grid.rows().start(firstRow));
}

// The image of grid rows [firstRow, endRow).
QImage bandOf(QImage& image, const PictureGrid& grid, int firstRow, int endRow) {
    return rowsOf(image, grid.rows().start(firstRow), grid.rows().start(endRow));
}

// The first row of the lower band: the row boundary nearest the middle of the cells
// that no merged area spans; 0 when there is none.
int splitRow(const PictureGrid& grid) {
    const int rows = grid.rowCount();
    std::vector<bool> spanned(static_cast<std::size_t>(rows + 1), false);
    for (const CellArea& merge : grid.merges()) {
        const auto [begin, end] = grid.rows().positionsOf(merge.firstRow, merge.lastRow);
        for (int k = begin + 1; k < end; ++k) spanned[static_cast<std::size_t>(k)] = true;
    }
    const auto& starts = grid.rows().starts;
    const int middle = static_cast<int>(std::lower_bound(starts.begin(), starts.end(), grid.height() / 2) - starts.begin());
    for (int distance = 0; distance < rows; ++distance)
        for (const int k : {middle + distance, middle - distance})
            if (k > 0 && k < rows && !spanned[static_cast<std::size_t>(k)]) return k;
    return 0;
}

// Paints the two bands at once; false when that could not be done or one band's
// painting reached into the other's rows.
bool paintTwoBands(QImage& image, const PictureGrid& grid, const WorkbookData& workbook, StyleLooks& looks,
                   int split) {
    // Both bands' images are made here: taking an image's bits is no read alone.
    QImage upperRows = bandOf(image, grid, 0, split);
    QImage lowerRows = bandOf(image, grid, split, grid.rowCount());
    PaintedRows lower;
    std::exception_ptr failure;
    std::jthread worker;
    try {
        worker = std::jthread([&] {
            try {
                StyleLooks own(workbook, looks.symbols());  // fonts belong to the thread that made them
                lower = paintBand(lowerRows, grid, own, split, grid.rowCount());
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return false;  // no second thread to be had
    }
    const PaintedRows upper = paintBand(upperRows, grid, looks, 0, split);
    worker.join();
    if (failure) std::rethrow_exception(failure);
    const int boundary = grid.rows().start(split);
    return upper.bottom <= boundary && lower.top >= boundary;
}

}  // namespace

void paintCellsInBands(QImage& image, const PictureGrid& grid, const WorkbookData& workbook, StyleLooks& looks) {
    const int rows = grid.rowCount();
    const int split = rows >= kMinRowsForBands && std::thread::hardware_concurrency() >= 2 ? splitRow(grid) : 0;
    if (split > 0 && paintTwoBands(image, grid, workbook, looks, split)) return;
    QImage allRows = bandOf(image, grid, 0, rows);
    paintBand(allRows, grid, looks, 0, rows);
}

}  // namespace engine::render
