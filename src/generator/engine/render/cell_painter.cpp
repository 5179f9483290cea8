#include "generator/engine/render/cell_painter.h"

#include "generator/engine/render/number_format.h"

#include <QPainter>
#include <cmath>

namespace engine::render {

namespace {

// Room between a cell's edges and its text, in pixels.
constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 1;

int horizontalFlag(HAlign align, const CellValue& value) {
    switch (align) {
    case HAlign::Left: return Qt::AlignLeft;
    case HAlign::Center: return Qt::AlignHCenter;
    case HAlign::Right: return Qt::AlignRight;
    case HAlign::General: break;
    }
    if (std::holds_alternative<double>(value)) return Qt::AlignRight;
    if (std::holds_alternative<QString>(value)) return Qt::AlignLeft;
    return Qt::AlignHCenter;  // booleans and errors
}

int verticalFlag(VAlign align) {
    switch (align) {
    case VAlign::Top: return Qt::AlignTop;
    case VAlign::Center: return Qt::AlignVCenter;
    case VAlign::Bottom: break;
    }
    return Qt::AlignBottom;
}

class CellPainter {
public:
    CellPainter(QPainter& painter, const PictureGrid& grid, StyleLooks& looks)
        : m_painter(painter), m_grid(grid), m_looks(looks), m_mergeDone(grid.merges().size(), false) {}

    void paint() {
        for (int i = 0; i < m_grid.rowCount(); ++i)
            for (int j = 0; j < m_grid.columnCount(); ++j) paintCell(i, j);
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
    void paintArea(const QRect& rect, int row, int col, StyleId styleId) {
        const StyleLook& look = m_looks.look(styleId);
        if (look.fill) m_painter.fillRect(rect, *look.fill);
        const Cell* cell = m_grid.sheet().cell(row, col);
        if (cell && !isEmpty(cell->value)) paintValue(rect, cell->value, look);
    }

    void paintValue(const QRect& rect, const CellValue& value, const StyleLook& look) {
        QString text = formatValue(value, look.style.numberFormat);
        if (text.isEmpty()) return;
        // The last pixel row and column of a cell belong to its gridlines.
        const QRect inside = rect.adjusted(0, 0, -1, -1);
        const QRect textRect = inside.adjusted(kTextMarginX, kTextMarginY, -kTextMarginX, -kTextMarginY);
        const bool isText = std::holds_alternative<QString>(value);
        if (std::holds_alternative<double>(value) && look.metrics.horizontalAdvance(text) > textRect.width())
            text = hashMarks(look, textRect.width());

        int flags = horizontalFlag(look.style.hAlign, value) | verticalFlag(look.style.vAlign);
        flags |= (look.style.wrap && isText) ? Qt::TextWordWrap : Qt::TextSingleLine;
        flags |= Qt::TextDontClip;  // the clip below keeps text inside the whole cell

        if (&look != m_lastLook) {
            m_painter.setFont(look.font);
            m_painter.setPen(look.textColor);
            m_lastLook = &look;
        }
        m_painter.setClipRect(inside);
        m_painter.drawText(textRect, flags, text);
        m_painter.setClipping(false);
    }

    static QString hashMarks(const StyleLook& look, int width) {
        const qreal mark = look.metrics.horizontalAdvance(u'#');
        const int count = mark > 0 ? static_cast<int>(std::floor(width / mark)) : 1;
        return QString(std::max(count, 1), u'#');
    }

    QPainter& m_painter;
    const PictureGrid& m_grid;
    StyleLooks& m_looks;
    std::vector<bool> m_mergeDone;
    const StyleLook* m_lastLook = nullptr;
};

}  // namespace

void paintCells(QPainter& painter, const PictureGrid& grid, StyleLooks& looks) {
    CellPainter(painter, grid, looks).paint();
}

}  // namespace engine::render
