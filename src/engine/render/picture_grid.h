#pragma once

#include "engine/model/sheet.h"
#include "engine/render/picture_axis.h"

#include <QRect>
#include <QSize>
#include <vector>

namespace engine::render {

// The cells a picture shows, or a part of them: their pixel rectangles, effective
// styles and merges, looked up once. Positions (i, j) count the rows and columns of
// the grid. A part of a picture keeps the picture's pixel positions.
class PictureGrid {
public:
    // The whole picture is `pictureSize` (pixels); by default just these cells.
    PictureGrid(const SheetData& sheet, PictureAxis rows, PictureAxis columns, QSize pictureSize = {});

    const SheetData& sheet() const { return m_sheet; }
    const PictureAxis& rows() const { return m_rows; }
    const PictureAxis& columns() const { return m_columns; }
    int rowCount() const { return m_rows.count(); }
    int columnCount() const { return m_columns.count(); }
    // Where the cells end, bands excluded.
    int width() const { return m_columns.extent(); }
    int height() const { return m_rows.extent(); }
    // The whole picture's cells: lines on its outer edges are drawn just inside them.
    const QSize& pictureSize() const { return m_pictureSize; }

    StyleId styleAt(int i, int j) const { return m_styles[index(i, j)]; }
    // Index into merges() of the merged area holding the cell, or -1.
    int mergeAt(int i, int j) const { return m_mergeOf[index(i, j)]; }
    const std::vector<CellArea>& merges() const { return m_merges; }

    QRect cellRect(int i, int j) const;
    // The part of a merged area that the picture shows.
    QRect mergeRect(int merge) const;

private:
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(columnCount()) +
               static_cast<std::size_t>(j);
    }

    const SheetData& m_sheet;
    PictureAxis m_rows;
    PictureAxis m_columns;
    QSize m_pictureSize;
    std::vector<StyleId> m_styles;
    std::vector<int> m_mergeOf;
    std::vector<CellArea> m_merges;  // merged areas of more than one cell that show
};

}  // namespace engine::render
