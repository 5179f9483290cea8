#pragma once

#include "engine/render/picture_grid.h"
#include "engine/render/style_looks.h"

#include <QImage>

namespace engine::render {

// Fills the picture's cell rows white and paints the cells into them (as paintCells
// does). A large picture is painted in two bands of rows at once, the lower one on a
// second thread with fonts of its own; each band paints into its own rows only, and
// should anything of one band have reached into the other's rows, the cells are
// painted again in one go, so the picture comes out the same either way.
void paintCellsInBands(QImage& image, const PictureGrid& grid, const WorkbookData& workbook, StyleLooks& looks);

}  // namespace engine::render
