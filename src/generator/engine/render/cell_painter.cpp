#include "generator/engine/render/cell_painter.h"

#include "generator/engine/render/plain_text.h"

#include <QGuiApplication>
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
        : m_painter(painter),
          m_grid(grid),
          m_looks(looks),
          m_mergeDone(grid.merges().size(), false),
          // Glyphs are placed as the layout places left-to-right text, untransformed.
          m_plainAllowed(painter.layoutDirection() != Qt::RightToLeft &&
                         QGuiApplication::layoutDirection() != Qt::RightToLeft &&
                         painter.worldTransform().type() == QTransform::TxNone) {}

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
        QString text = look.format.format(value);
        if (text.isEmpty()) return;
        // The last pixel row and column of a cell belong to its gridlines.
        const QRect inside = rect.adjusted(0, 0, -1, -1);
        const QRect textRect = inside.adjusted(kTextMarginX, kTextMarginY, -kTextMarginX, -kTextMarginY);
        const bool isText = std::holds_alternative<QString>(value);
        const bool isNumber = std::holds_alternative<double>(value);
        bool plain = isNumber && layOutPlain(look, text);
        if (isNumber && !advanceFits(look, text, plain, textRect.width())) {
            text = hashMarks(look, textRect.width());
            plain = layOutPlain(look, text);
        }

        const bool wrap = look.style.wrap && isText;
        const int hFlag = horizontalFlag(look.style.hAlign, value);
        int vFlag = verticalFlag(look.style.vAlign);
        const qsizetype length = text.size();
        if (cutToShownPart(text, look, inside, textRect.width(), wrap, hFlag)) vFlag = Qt::AlignTop;
        if (!isNumber || text.size() != length) plain = layOutPlain(look, text);
        int flags = hFlag | vFlag | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
        flags |= Qt::TextDontClip;  // text is kept inside its cell below

        if (&look != m_lastLook) {
            m_painter.setFont(look.font);
            m_painter.setPen(look.textColor);
            m_lastLook = &look;
        }
        // Plain text on one line goes straight to its glyphs, placed as the text
        // layout would place it; any other text through the layout.
        const bool plainLine = plain && (!wrap || m_line.staysOneLine(textRect.width()));
        if (plainLine) {
            const PlacedLine placed = look.plainText().place(m_line, textRect, flags);
            const bool inCell = wrap ? inside.contains(placed.bounds.toAlignedRect())
                                     : advanceFits(look, text, plain, textRect.width()) &&
                                           look.metrics.height() <= textRect.height();
            if (inCell) {
                look.plainText().draw(m_painter, m_line, placed.x, placed.baseline);
                return;
            }
        } else if (fits(look, inside, textRect, flags, text)) {
            m_painter.drawText(textRect, flags, text);
            return;
        }
        paintClipped(inside, textRect, flags, text, look, plainLine);
    }

    // Lays text out in m_line when it is plain text in the look's font.
    bool layOutPlain(const StyleLook& look, const QString& text) {
        return m_plainAllowed && look.plainText().layOut(text, m_line);
    }

    // True when the text's advance is no wider than width pixels.
    bool advanceFits(const StyleLook& look, const QString& text, bool plain, int width) const {
        if (plain) return m_line.advance <= Fixed{width} * 64;
        return look.metrics.horizontalAdvance(text) <= width;
    }

    static bool fits(const StyleLook& look, const QRect& inside, const QRect& textRect, int flags,
                     const QString& text) {
        if (flags & Qt::TextWordWrap)
            return inside.contains(look.metrics.boundingRect(textRect, flags, text).toAlignedRect());
        return look.metrics.horizontalAdvance(text) <= textRect.width() &&
               look.metrics.height() <= textRect.height();
    }

    // Text that does not fit is drawn through a scratch image the size of the cell
    // and copied in, which cuts it at the cell's edges. (A clip on the picture's own
    // painter costs memory in proportion to the whole picture's height, per cell.)
    void paintClipped(const QRect& inside, const QRect& textRect, int flags, const QString& text,
                      const StyleLook& look, bool plainLine) {
        if (inside.isEmpty()) return;
        if (m_scratch.width() < inside.width() || m_scratch.height() < inside.height())
            m_scratch = QImage(inside.size().expandedTo(m_scratch.size()), QImage::Format_ARGB32_Premultiplied);
        if (m_scratch.isNull()) return;
        m_scratch.fill(Qt::transparent);
        {
            QPainter scratch(&m_scratch);
            scratch.setPen(look.textColor);
            const QRect shifted = textRect.translated(-inside.topLeft());
            if (plainLine) {
                const PlacedLine placed = look.plainText().place(m_line, shifted, flags);
                look.plainText().draw(scratch, m_line, placed.x, placed.baseline);
            } else {
                scratch.setFont(look.font);
                scratch.drawText(shifted, flags, text);
            }
        }
        m_painter.drawImage(inside.topLeft(), m_scratch, QRect(QPoint(0, 0), inside.size()));
    }

    // A text far longer than its cell could ever show is cut to what can show, so
    // that a cell holding thousands of characters costs no more than a full one. One
    // line keeps the part its alignment shows (start, middle or end); wrapped text
    // keeps its beginning, which is then shown from the top (true returned).
    static bool cutToShownPart(QString& text, const StyleLook& look, const QRect& inside, int width,
                               bool wrap, int hFlag) {
        const qreal narrowest = std::max<qreal>(1.0, look.averageCharWidth() / 4);
        const qsizetype perLine = static_cast<qsizetype>(std::max(width, 0) / narrowest) + 2;
        if (wrap) {
            const qreal lineSpacing = std::max<qreal>(1.0, look.metrics.lineSpacing());
            const qsizetype cap = perLine * (static_cast<qsizetype>(inside.height() / lineSpacing) + 2);
            if (text.size() <= cap) return false;
            text.truncate(cap);
            return true;
        }
        if (text.size() > perLine) {
            if (hFlag == Qt::AlignRight) text = text.right(perLine);
            else if (hFlag == Qt::AlignHCenter) text = text.mid((text.size() - perLine) / 2, perLine);
            else text.truncate(perLine);
        }
        return false;
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
    const bool m_plainAllowed;
    PlainLine m_line;  // the text being painted, when plain
    QImage m_scratch;  // for text cut at its cell's edges
};

}  // namespace

void paintCells(QPainter& painter, const PictureGrid& grid, StyleLooks& looks) {
    CellPainter(painter, grid, looks).paint();
}

}  // namespace engine::render
