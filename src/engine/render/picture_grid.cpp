#include "engine/render/picture_grid.h"

namespace engine::render {

PictureGrid::PictureGrid(const SheetData& sheet, PictureAxis rows, PictureAxis columns, QSize pictureSize)
    : m_sheet(sheet),
      m_rows(std::move(rows)),
      m_columns(std::move(columns)),
      m_pictureSize(pictureSize.isEmpty() ? QSize(m_columns.extent(), m_rows.extent()) : pictureSize) {
    const std::size_t cells = static_cast<std::size_t>(rowCount()) * static_cast<std::size_t>(columnCount());
    m_styles.resize(cells);
    m_mergeOf.assign(cells, -1);
    for (int i = 0; i < rowCount(); ++i)
        for (int j = 0; j < columnCount(); ++j)
            m_styles[index(i, j)] = sheet.effectiveStyle(m_rows.indices[i], m_columns.indices[j]);

    for (const CellArea& merge : sheet.merges) {
        if (merge.rowCount() * merge.columnCount() < 2) continue;
        const auto [rowBegin, rowEnd] = m_rows.positionsOf(merge.firstRow, merge.lastRow);
        const auto [colBegin, colEnd] = m_columns.positionsOf(merge.firstCol, merge.lastCol);
        if (rowBegin == rowEnd || colBegin == colEnd) continue;
        const int id = static_cast<int>(m_merges.size());
        m_merges.push_back(merge);
        for (int i = rowBegin; i < rowEnd; ++i)
            for (int j = colBegin; j < colEnd; ++j) m_mergeOf[index(i, j)] = id;
    }
}

QRect PictureGrid::cellRect(int i, int j) const {
    return QRect(QPoint(m_columns.start(j), m_rows.start(i)),
                 QPoint(m_columns.end(j) - 1, m_rows.end(i) - 1));
}

QRect PictureGrid::mergeRect(int merge) const {
    const CellArea& area = m_merges[static_cast<std::size_t>(merge)];
    const auto [rowBegin, rowEnd] = m_rows.positionsOf(area.firstRow, area.lastRow);
    const auto [colBegin, colEnd] = m_columns.positionsOf(area.firstCol, area.lastCol);
    return cellRect(rowBegin, colBegin).united(cellRect(rowEnd - 1, colEnd - 1));
}

}  // namespace engine::render
