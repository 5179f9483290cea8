#include "engine/render/cell_painter.h"

#include "engine/render/cell_text.h"
#include "engine/render/device_pixels.h"

#include <QPainter>
#include <algorithm>
#include <climits>

namespace engine::render {

namespace {

// How far beyond its cell text drawn by the layout may reach, in em: glyphs rise
// and fall beyond the line's ascent and descent by a fraction of the font's size.
constexpr int kLayoutReachEm = 2;
constexpr int kLayoutReachPixels = 8;

class CellPainter {
public:
    CellPainter(QPainter& painter, const PictureGrid& grid, StyleLooks& looks, int originY)
        : m_painter(painter),
          m_grid(grid),
          m_looks(looks),
          m_originY(originY),
          m_mergeDone(grid.merges().size(), false),
          m_text(painter) {}

    PaintedRows paint(int firstRow, int endRow) {
        for (int i = firstRow; i < endRow; ++i)
            for (int j = 0; j < m_grid.columnCount(); ++j) paintCell(i, j);
        return m_reached.top <= m_reached.bottom ? PaintedRows{m_reached.top, m_reached.bottom} : PaintedRows{};
    }

private:
    void paintCell(int i, int j) {
        const int merge = m_grid.mergeAt(i, j);
        if (merge < 0) {
            paintArea(m_grid.cellRect(i, j), m_grid.rows().indices[i], m_grid.columns().indices[j],
                      m_grid.styleAt(i, j));
            return;
        }
        if (m_mergeDone[static_cast<std::size_t>(merge)]) return;
        m_mergeDone[static_cast<std::size_t>(merge)] = true;
        const CellArea& area = m_grid.merges()[static_cast<std::size_t>(merge)];
        paintArea(m_grid.mergeRect(merge), area.firstRow, area.firstCol,
                  m_grid.sheet().effectiveStyle(area.firstRow, area.firstCol));
    }

    // One cell or merged area, shown with the style and value of the sheet cell (row, col).
    void paintArea(const QRect& pictureRect, int row, int col, StyleId styleId) {
        const QRect rect = pictureRect.translated(0, -m_originY);
        const StyleLook& look = m_looks.look(styleId);
        reach(rect.top(), rect.bottom() + 1);
        if (look.fill) fillOnDevicePixels(m_painter, rect, *look.fill);
        const Cell* cell = m_grid.sheet().cell(row, col);
        if (!cell || isEmpty(cell->value)) return;
        m_text.prepare(rect, cell->value, look);
        if (const std::optional<std::pair<int, int>> ink = m_text.inkRows()) {
            reach(ink->first, ink->second);
        } else {
            const int beyond = paintingReach(look.font.pixelSize());
            reach(rect.top() - beyond, rect.bottom() + 1 + beyond);
        }
        m_text.paint(look);
    }

    void reach(int top, int bottom) {
        if (top >= bottom) return;
        m_reached.top = std::min(m_reached.top, top + m_originY);
        m_reached.bottom = std::max(m_reached.bottom, bottom + m_originY);
    }

    QPainter& m_painter;
    const PictureGrid& m_grid;
    StyleLooks& m_looks;
    const int m_originY;
    std::vector<bool> m_mergeDone;
    CellTextPainter m_text;
    PaintedRows m_reached{INT_MAX, INT_MIN};
};

}  // namespace

int paintingReach(int fontPixels) { return kLayoutReachEm * fontPixels + kLayoutReachPixels; }

PaintedRows paintCells(QPainter& painter, const PictureGrid& grid, StyleLooks& looks, int firstRow, int endRow,
                       int originY) {
    return CellPainter(painter, grid, looks, originY).paint(firstRow, endRow);
}

}  // namespace engine::render
