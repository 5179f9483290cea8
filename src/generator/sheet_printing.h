#pragma once

#include "generator/sheet_picture.h"

#include <QRect>
#include <QSizeF>
#include <QString>
#include <utility>
#include <vector>

class QPagedPaintDevice;

namespace generator {

// The scales a sheet prints at, in percent, as spreadsheet applications allow them.
inline constexpr int kMinPrintPercent = 10;
inline constexpr int kMaxPrintPercent = 400;

// The scale, in whole percent, at which a print area of `area` points prints on
// pages whose printable part measures `printable` points: the setup's zoom, or the
// largest that fits the area on its pages wide by tall, never above 100; never
// below 10 either way.
int printPercent(const QSizeF& area, const QSizeF& printable, const PrintSetup& setup);

// Where pages break along one direction of a picture whose rows (or columns) begin
// at `edges` (as SheetPicture::rowEdges gives them): each page takes as many whole
// rows as fit in `pageExtent` pixels; a row longer than a page is cut and goes on
// over as many pages as it fills. The [begin, end) pixels of each page, in order.
std::vector<std::pair<int, int>> pageSpans(const std::vector<int>& edges, double pageExtent);

// The pages a print area takes: its scale, and the part of its picture each page
// prints (pixels at zoom 1), in print order: across, then down.
struct PrintPages {
    int percent = 100;
    std::vector<QRect> parts;
};

// Lays out a print area whose columns and rows begin at the given edges (as the
// picture of the area gives them) on pages whose printable part measures
// `printable` points. A scale fitted to pages is lowered further while the breaks
// between rows and columns need more pages than the setup allows (down to 10 %).
PrintPages layOutPages(const std::vector<int>& columnEdges, const std::vector<int>& rowEdges,
                       const QSizeF& printable, const PrintSetup& setup);

// The picture of what the sheet prints: its print area, or the picture's own area
// when the sheet has none.
SheetPicture printAreaOf(const SheetPicture& picture);

// Prints what the sheet prints, laid out by its page setup, on the pages of the
// device as its page layout stands: the caller sets that, to the sheet's own
// (PrintSetup::pageLayout) or as the user changed it in a print dialog. Text
// stays text. Throws shell::Failure when nothing can be printed.
void printSheet(const SheetPicture& picture, QPagedPaintDevice& device);

// Writes the print as a PDF file at path, on the paper of the sheet's page setup;
// an existing file is replaced whole or left as it was. Throws shell::Failure.
void exportSheetPdf(const SheetPicture& picture, const QString& path);

}  // namespace generator
