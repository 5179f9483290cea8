#pragma once

#include "engine/render/picture_grid.h"
#include "engine/render/style_looks.h"

class QPainter;

namespace engine::render {

// Paints the cell borders of the picture (there are no gridlines). A border lies on
// the gridline between two cells: thin 1 pixel, medium 2, thick 3 wide. Where the
// two cells name different borders for their shared edge, the heavier one shows (the
// upper or left cell's on a tie); edges inside a merged area show none. Lines on the
// picture's outer edges are drawn just inside it, and lines meeting at a corner join.
void paintBorders(QPainter& painter, const PictureGrid& grid, const StyleLooks& looks);

}  // namespace engine::render
