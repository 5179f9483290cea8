#pragma once

#include "engine/model/sheet.h"
#include "engine/render/number_format.h"
#include "engine/render/picture_axis.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <memory>
#include <mutex>
#include <thread>

class QPainter;

namespace engine::render {

class StyleLooks;

// Neither side of a whole picture made as an image is longer than this many pixels.
inline constexpr int kMaxPictureExtent = 22339;
// Thickness of the band that tells of rows or columns left out of such an image.
inline constexpr int kCutBandThickness = 24;

// The picture of a range as a spreadsheet application shows it on screen at 96 dpi,
// without gridlines, on white: column widths and row heights in pixels, fills,
// borders, fonts, alignment, wrapping, merged areas and every value through its
// number format (formulas show their stored results), numbers with the given
// symbols. The picture measures the sum of the shown column widths by the sum of the
// shown row heights, whatever the range's length.
//
// It is laid out once (where its rows and columns lie) and painted on demand: any
// part of it, at any scale, on any painter (an image, a widget, a printer or PDF
// writer, where text stays text). At scale 1 on an image a part comes out pixel for
// pixel as the same part of the whole picture.
//
// It reads the workbook and sheet it is given, which must outlive it unchanged. The
// fonts it makes belong to the first thread that paints; any other thread that
// paints makes its own for the time it paints.
class RangePicture {
public:
    RangePicture(const WorkbookData& workbook, const SheetData& sheet, const CellArea& area,
                 NumberSymbols symbols = {});
    ~RangePicture();
    RangePicture(const RangePicture&) = delete;
    RangePicture& operator=(const RangePicture&) = delete;

    // The area shown, within the sheet, and the symbols numbers show with.
    const CellArea& area() const { return m_area; }
    const NumberSymbols& symbols() const { return m_symbols; }
    // Pixels at 96 dpi; empty when nothing shows (every row or column hidden).
    QSize size() const { return QSize(m_columns.extent(), m_rows.extent()); }
    // The rows and columns shown, with their pixel positions.
    const PictureAxis& rows() const { return m_rows; }
    const PictureAxis& columns() const { return m_columns; }
    // Where the sheet cell (row, col), or the merged area holding it, lies in the
    // picture; empty when it does not show.
    QRect cellRect(int row, int col) const;
    // The text the picture shows for a value of the sheet cell (row, col): its value
    // through its number format, before any cutting to the cell's width.
    QString cellText(int row, int col) const;

    // Paints the part `region` of the picture (in its pixels) onto a painter whose
    // coordinates are the picture's pixels: white where no cell paints, nothing
    // outside the region.
    void paint(QPainter& painter, const QRectF& region) const;

    // The whole picture as an image, `scale` device pixels to a picture pixel. An
    // image longer than kMaxPictureExtent pixels is cut after the last whole row that
    // fits beside a band at the bottom reading "… N more rows in the workbook"
    // (columns likewise, with a band on the right), so that it is made in bounded
    // time and memory. A large picture at scale 1 is painted on two threads. Null
    // when nothing shows or the image cannot be allocated.
    QImage image(double scale = 1) const;

private:
    // The looks this thread paints with: the kept ones on the thread they belong to,
    // else new ones held in `own`.
    StyleLooks& looksForThisThread(std::unique_ptr<StyleLooks>& own) const;

    const WorkbookData& m_workbook;
    const SheetData& m_sheet;
    const CellArea m_area;
    const NumberSymbols m_symbols;
    PictureAxis m_rows;
    PictureAxis m_columns;
    int m_textReach = 0;  // pixels a cell's painting may reach beyond the cell

    mutable std::mutex m_looksMutex;
    mutable std::unique_ptr<StyleLooks> m_looks;
    mutable std::thread::id m_looksThread;
};

// The whole picture of a range at scale 1 (RangePicture::image).
QImage renderRange(const WorkbookData& workbook, const SheetData& sheet, const CellArea& area,
                   const NumberSymbols& symbols = {});

}  // namespace engine::render
