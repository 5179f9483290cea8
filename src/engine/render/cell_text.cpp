#include "engine/render/cell_text.h"

#include "engine/render/device_pixels.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace engine::render {

namespace {

// Room between a cell's edges and its text, in pixels.
constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 1;
// Pixels a glyph's rendering may reach beyond its outline (hinting, antialiasing).
constexpr int kInkMargin = 2;

int horizontalFlag(HorizontalAlignment align, const CellValue& value) {
    switch (align) {
    case HorizontalAlignment::Left: return Qt::AlignLeft;
    case HorizontalAlignment::Center: return Qt::AlignHCenter;
    case HorizontalAlignment::Right: return Qt::AlignRight;
    case HorizontalAlignment::General: break;
    }
    if (std::holds_alternative<double>(value)) return Qt::AlignRight;
    if (std::holds_alternative<QString>(value)) return Qt::AlignLeft;
    return Qt::AlignHCenter;  // booleans and errors
}

int verticalFlag(VerticalAlignment align) {
    switch (align) {
    case VerticalAlignment::Top: return Qt::AlignTop;
    case VerticalAlignment::Center: return Qt::AlignVCenter;
    case VerticalAlignment::Bottom: break;
    }
    return Qt::AlignBottom;
}

bool fits(const StyleLook& look, const QRect& inside, const QRect& textRect, int flags, const QString& text) {
    if (flags & Qt::TextWordWrap)
        return inside.contains(look.metrics.boundingRect(textRect, flags, text).toAlignedRect());
    return look.metrics.horizontalAdvance(text) <= textRect.width() && look.metrics.height() <= textRect.height();
}

// A text far longer than its cell could ever show is cut to what can show, so that
// a cell holding thousands of characters costs no more than a full one. One line
// keeps the part its alignment shows (start, middle or end); wrapped text keeps its
// beginning, which is then shown from the top (true returned).
bool cutToShownPart(QString& text, const StyleLook& look, const QRect& inside, int width, bool wrap, int hFlag) {
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

// Characters that no installed font has become boxes, as most fonts draw a missing
// glyph: left to the text layout they would show as the font's own missing glyph,
// which some fonts (URW Gothic among them) leave empty. Marks, controls and spaces
// stay as they are.
void boxMissingCharacters(QString& text, const QFontMetricsF& metrics) {
    constexpr char32_t kBox = 0x25A1;  // WHITE SQUARE
    constexpr unsigned kKept = (1u << QChar::Mark_NonSpacing) | (1u << QChar::Mark_SpacingCombining) |
                               (1u << QChar::Mark_Enclosing) | (1u << QChar::Other_Control) |
                               (1u << QChar::Other_Format) | (1u << QChar::Separator_Space) |
                               (1u << QChar::Separator_Line) | (1u << QChar::Separator_Paragraph);
    const auto missing = [&](char32_t c) { return !((1u << QChar::category(c)) & kKept) && !metrics.inFontUcs4(c); };
    QList<uint> characters = text.toUcs4();
    if (std::none_of(characters.begin(), characters.end(), missing)) return;
    std::replace_if(characters.begin(), characters.end(), missing, kBox);
    text = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), characters.size());
}

QString hashMarks(const StyleLook& look, int width) {
    const qreal mark = look.metrics.horizontalAdvance(u'#');
    const int count = mark > 0 ? static_cast<int>(std::floor(width / mark)) : 1;
    return QString(std::max(count, 1), u'#');
}

}  // namespace

CellTextPainter::CellTextPainter(QPainter& painter)
    : m_painter(painter),
      // Glyphs are placed as the layout places left-to-right text, shifted or
      // scaled at most.
      m_plainAllowed(painter.layoutDirection() != Qt::RightToLeft &&
                     QGuiApplication::layoutDirection() != Qt::RightToLeft &&
                     painter.deviceTransform().type() <= QTransform::TxScale),
      m_pixelForPixel(drawsPixelForPixel(painter)) {}

const CellText& CellTextPainter::prepare(const QRect& rect, const CellValue& value, const StyleLook& look) {
    CellText& cell = m_cell;
    cell.way = CellText::Way::None;
    cell.plainLine = false;
    cell.text = look.format.format(value);
    if (cell.text.isEmpty()) return cell;
    QString& text = cell.text;
    // The last pixel row and column of a cell belong to its gridlines.
    cell.inside = rect.adjusted(0, 0, -1, -1);
    cell.textRect = cell.inside.adjusted(kTextMarginX, kTextMarginY, -kTextMarginX, -kTextMarginY);
    const QRect& inside = cell.inside;
    const QRect& textRect = cell.textRect;
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
    if (!plain) boxMissingCharacters(text, look.metrics);
    cell.flags = hFlag | vFlag | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    cell.flags |= Qt::TextDontClip;  // text is kept inside its cell by the way it is drawn

    // Plain text on one line goes straight to its glyphs, placed as the text layout
    // would place it; any other text through the layout.
    cell.plainLine = plain && (!wrap || m_line.staysOneLine(textRect.width()));
    if (cell.plainLine) {
        cell.placed = look.plainText().place(m_line, textRect, cell.flags);
        const bool inCell = wrap ? inside.contains(cell.placed.bounds.toAlignedRect())
                                 : advanceFits(look, text, plain, textRect.width()) &&
                                       look.metrics.height() <= textRect.height();
        cell.way = inCell ? CellText::Way::Glyphs : CellText::Way::Clipped;
    } else {
        cell.way = fits(look, inside, textRect, cell.flags, text) ? CellText::Way::Layout : CellText::Way::Clipped;
    }
    if (cell.way == CellText::Way::Clipped && inside.isEmpty()) cell.way = CellText::Way::None;
    return cell;
}

void CellTextPainter::paint(const StyleLook& look) {
    if (m_cell.way == CellText::Way::None) return;
    if (!m_penColor || *m_penColor != look.textColor) {
        m_painter.setPen(look.textColor);
        m_penColor = look.textColor;
    }
    switch (m_cell.way) {
    case CellText::Way::Glyphs:
        look.plainText().draw(m_painter, m_line, m_cell.placed.x, m_cell.placed.baseline);
        break;
    case CellText::Way::Layout:
        if (&look != m_fontLook) {
            m_painter.setFont(look.font);
            m_fontLook = &look;
        }
        m_painter.drawText(m_cell.textRect, m_cell.flags, m_cell.text);
        break;
    case CellText::Way::Clipped: paintClipped(look); break;
    case CellText::Way::None: break;
    }
}

std::optional<std::pair<int, int>> CellTextPainter::inkRows() const {
    switch (m_cell.way) {
    case CellText::Way::None: return std::pair{0, 0};
    case CellText::Way::Clipped: return std::pair{m_cell.inside.top(), m_cell.inside.bottom() + 1};
    case CellText::Way::Layout: return std::nullopt;
    case CellText::Way::Glyphs: break;
    }
    const Fixed baseline = m_cell.placed.baseline;
    return std::pair{static_cast<int>(std::floor((baseline + m_line.inkTop) / 64.0)) - kInkMargin,
                     static_cast<int>(std::ceil((baseline + m_line.inkBottom) / 64.0)) + kInkMargin};
}

// Lays text out in m_line when it is plain text in the look's font.
bool CellTextPainter::layOutPlain(const StyleLook& look, const QString& text) {
    return m_plainAllowed && look.plainText().layOut(text, m_line);
}

// True when the text's advance is no wider than width pixels.
bool CellTextPainter::advanceFits(const StyleLook& look, const QString& text, bool plain, int width) const {
    if (plain) return m_line.advance <= Fixed{width} * 64;
    return look.metrics.horizontalAdvance(text) <= width;
}

// Text that does not fit is cut at its cell's edges. On the picture's own pixels it
// is drawn through a scratch image the size of the cell and copied in (a clip on a
// painter of a large picture costs memory in proportion to the picture's height,
// per cell); scaled, or on a device that keeps text as text, through a clip.
void CellTextPainter::paintClipped(const StyleLook& look) {
    if (!m_pixelForPixel) {
        paintThroughClip(look);
        return;
    }
    const QRect& inside = m_cell.inside;
    if (m_scratch.width() < inside.width() || m_scratch.height() < inside.height())
        m_scratch = QImage(inside.size().expandedTo(m_scratch.size()), QImage::Format_ARGB32_Premultiplied);
    if (m_scratch.isNull()) return;
    m_scratch.fill(Qt::transparent);
    {
        QPainter scratch(&m_scratch);
        scratch.setPen(look.textColor);
        const QRect shifted = m_cell.textRect.translated(-inside.topLeft());
        if (m_cell.plainLine) {
            const PlacedLine placed = look.plainText().place(m_line, shifted, m_cell.flags);
            look.plainText().draw(scratch, m_line, placed.x, placed.baseline);
        } else {
            scratch.setFont(look.font);
            scratch.drawText(shifted, m_cell.flags, m_cell.text);
        }
    }
    m_painter.drawImage(inside.topLeft(), m_scratch, QRect(QPoint(0, 0), inside.size()));
}

void CellTextPainter::paintThroughClip(const StyleLook& look) {
    m_painter.save();
    m_painter.setClipRect(m_cell.inside, Qt::IntersectClip);
    if (m_cell.plainLine) {
        look.plainText().draw(m_painter, m_line, m_cell.placed.x, m_cell.placed.baseline);
    } else {
        m_painter.setFont(look.font);
        m_painter.drawText(m_cell.textRect, m_cell.flags, m_cell.text);
    }
    m_painter.restore();
}

}  // namespace engine::render
