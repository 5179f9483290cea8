#include "engine/render/border_painter.h"

#include "engine/render/device_pixels.h"

#include <QPainter>
#include <algorithm>

namespace engine::render {

namespace {

int weight(BorderLine line) {
    switch (line) {
    case BorderLine::None: return 0;
    case BorderLine::Thin: return 1;
    case BorderLine::Medium: return 2;
    case BorderLine::Thick: return 3;
    }
    return 0;
}

const Border kNoBorder{};

const Border& heavier(const Border& first, const Border& second) {
    return weight(second.line) > weight(first.line) ? second : first;
}

// The pixels [begin, end) a line of the given weight covers across the gridline
// that ends just before `boundary`, kept inside [0, extent). Weight 0 stands for the
// bare gridline, which is how far a line reaches where no other line crosses it.
std::pair<int, int> lineSpan(int boundary, int lineWeight, int extent) {
    const int before = lineWeight >= 3 ? 2 : 1;
    const int after = lineWeight >= 2 ? 1 : 0;
    int begin = boundary - before;
    int end = boundary + after;
    const int thickness = end - begin;
    if (begin < 0) {
        begin = 0;
        end = std::min(thickness, extent);
    } else if (end > extent) {
        end = extent;
        begin = std::max(0, extent - thickness);
    }
    return {begin, end};
}

class BorderPainter {
public:
    BorderPainter(QPainter& painter, const PictureGrid& grid, const StyleLooks& looks)
        : m_painter(painter), m_grid(grid), m_looks(looks) {}

    void paint() {
        for (int i = 0; i < m_grid.rowCount(); ++i)
            for (int b = 0; b <= m_grid.columnCount(); ++b) paintVertical(i, b);
        for (int a = 0; a <= m_grid.rowCount(); ++a)
            for (int j = 0; j < m_grid.columnCount(); ++j) paintHorizontal(a, j);
    }

private:
    const CellStyle& style(int i, int j) const { return m_looks.style(m_grid.styleAt(i, j)); }

    bool sameMerge(int i1, int j1, int i2, int j2) const {
        const int merge = m_grid.mergeAt(i1, j1);
        return merge >= 0 && merge == m_grid.mergeAt(i2, j2);
    }

    // The line left of column position b on row position i (b = columnCount: the right edge).
    const Border& vertical(int i, int b) const {
        if (i < 0 || i >= m_grid.rowCount()) return kNoBorder;
        const int last = m_grid.columnCount();
        if (b > 0 && b < last && sameMerge(i, b - 1, i, b)) return kNoBorder;
        const Border& left = b > 0 ? style(i, b - 1).border(CellSide::Right) : kNoBorder;
        const Border& right = b < last ? style(i, b).border(CellSide::Left) : kNoBorder;
        return heavier(left, right);
    }

    // The line above row position a on column position j (a = rowCount: the bottom edge).
    const Border& horizontal(int a, int j) const {
        if (j < 0 || j >= m_grid.columnCount()) return kNoBorder;
        const int last = m_grid.rowCount();
        if (a > 0 && a < last && sameMerge(a - 1, j, a, j)) return kNoBorder;
        const Border& above = a > 0 ? style(a - 1, j).border(CellSide::Bottom) : kNoBorder;
        const Border& below = a < last ? style(a, j).border(CellSide::Top) : kNoBorder;
        return heavier(above, below);
    }

    // The heaviest line crossing a corner where row boundary a meets column boundary b.
    int horizontalWeightAt(int a, int b) const {
        return std::max(weight(horizontal(a, b - 1).line), weight(horizontal(a, b).line));
    }
    int verticalWeightAt(int a, int b) const {
        return std::max(weight(vertical(a - 1, b).line), weight(vertical(a, b).line));
    }

    void paintVertical(int i, int b) {
        const Border& border = vertical(i, b);
        if (border.line == BorderLine::None) return;
        const PictureAxis& rows = m_grid.rows();
        const PictureAxis& cols = m_grid.columns();
        const auto [x0, x1] = lineSpan(cols.starts[b], weight(border.line), m_grid.pictureSize().width());
        const int y0 = lineSpan(rows.start(i), horizontalWeightAt(i, b), m_grid.pictureSize().height()).first;
        const int y1 = lineSpan(rows.end(i), horizontalWeightAt(i + 1, b), m_grid.pictureSize().height()).second;
        fill(QRect(x0, y0, x1 - x0, y1 - y0), border);
    }

    void paintHorizontal(int a, int j) {
        const Border& border = horizontal(a, j);
        if (border.line == BorderLine::None) return;
        const PictureAxis& rows = m_grid.rows();
        const PictureAxis& cols = m_grid.columns();
        const auto [y0, y1] = lineSpan(rows.starts[a], weight(border.line), m_grid.pictureSize().height());
        const int x0 = lineSpan(cols.start(j), verticalWeightAt(a, j), m_grid.pictureSize().width()).first;
        const int x1 = lineSpan(cols.end(j), verticalWeightAt(a, j + 1), m_grid.pictureSize().width()).second;
        fill(QRect(x0, y0, x1 - x0, y1 - y0), border);
    }

    void fill(const QRect& rect, const Border& border) {
        fillOnDevicePixels(m_painter, rect, paletteColor(m_looks.palette(), border.colorIndex, Qt::black), true);
    }

    QPainter& m_painter;
    const PictureGrid& m_grid;
    const StyleLooks& m_looks;
};

}  // namespace

void paintBorders(QPainter& painter, const PictureGrid& grid, const StyleLooks& looks) {
    BorderPainter(painter, grid, looks).paint();
}

}  // namespace engine::render
