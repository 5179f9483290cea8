#pragma once

#include "engine/render/plain_text.h"
#include "engine/render/style_looks.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>
#include <utility>

class QPainter;

namespace engine::render {

// A cell's value as the picture shows it: its text through the number format (hash
// marks for a number too wide), where the text goes and how it is drawn.
struct CellText {
    enum class Way {
        None,    // nothing to show
        Glyphs,  // plain text on one line, straight to its glyphs
        Layout,  // through the text layout
        Clipped  // too big for its cell: drawn through a scratch image cut at its edges
    };
    Way way = Way::None;
    QString text;
    QRect inside;    // the cell less its gridlines
    QRect textRect;  // inside less the margins
    int flags = 0;   // for QPainter::drawText
    bool plainLine = false;  // laid out glyph by glyph (for Glyphs, and Clipped when so)
    PlacedLine placed;       // where the glyphs go, for Glyphs
};

// Prepares and draws the texts of cells with one painter. Text stays inside its
// cell: what does not fit is cut off, and a number too wide for its cell shows as
// "#" marks, as a spreadsheet shows it.
class CellTextPainter {
public:
    explicit CellTextPainter(QPainter& painter);

    // What a cell of the given rectangle, value and look shows; valid until the next call.
    const CellText& prepare(const QRect& rect, const CellValue& value, const StyleLook& look);
    // Draws the text prepared last, in the look it was prepared with.
    void paint(const StyleLook& look);
    // The pixel rows [first, second) that drawing the text prepared last may touch;
    // none when that is not known beforehand (text through the layout).
    std::optional<std::pair<int, int>> inkRows() const;

private:
    bool layOutPlain(const StyleLook& look, const QString& text);
    bool advanceFits(const StyleLook& look, const QString& text, bool plain, int width) const;
    void paintClipped(const StyleLook& look);
    void paintThroughClip(const StyleLook& look);

    QPainter& m_painter;
    const bool m_plainAllowed;
    const bool m_pixelForPixel;  // the painter draws the picture's own pixels
    std::optional<QColor> m_penColor;      // the painter's, once set
    const StyleLook* m_fontLook = nullptr;  // whose font the painter has
    CellText m_cell;
    PlainLine m_line;  // the text prepared, when plain
    QImage m_scratch;  // for text cut at its cell's edges
};

}  // namespace engine::render
