#pragma once

#include "generator/engine/render/picture_grid.h"
#include "generator/engine/render/style_looks.h"

class QPainter;

namespace engine::render {

// Paints the fills and the shown values of the picture's cells. A merged area is
// one cell: the fill, format and value of its top-left cell over the whole area.
// Text stays inside its cell (or merged area): what does not fit is cut off, and a
// number too wide for its cell shows as "#" marks, as a spreadsheet shows it.
void paintCells(QPainter& painter, const PictureGrid& grid, StyleLooks& looks);

}  // namespace engine::render
