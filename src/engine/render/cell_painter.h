#pragma once

#include "engine/render/picture_grid.h"
#include "engine/render/style_looks.h"

class QPainter;

namespace engine::render {

// How far beyond its cell the painting of a cell may reach, in pixels, for text in
// a font of the given pixel size.
int paintingReach(int fontPixels);

// The pixel rows [top, bottom) that painting some cells touched.
struct PaintedRows {
    int top = 0;
    int bottom = 0;
};

// Paints the fills and the shown values of the picture's cells in the rows at
// positions [firstRow, endRow), on a painter whose device begins at the picture's
// pixel row `originY`. A merged area is one cell: the fill, format and value of its
// top-left cell over the whole area, painted with the first of its rows that is
// painted. Text stays inside its cell (see CellTextPainter). Returns the picture's
// pixel rows the painting may have touched: the cells' own, and where text may
// reach beyond them.
PaintedRows paintCells(QPainter& painter, const PictureGrid& grid, StyleLooks& looks, int firstRow, int endRow,
                       int originY = 0);

}  // namespace engine::render
