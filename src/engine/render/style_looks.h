#pragma once

#include "engine/model/sheet.h"
#include "engine/render/number_format.h"
#include "engine/render/plain_text.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <memory>
#include <optional>
#include <vector>

namespace engine::render {

// A palette colour by index 1..56 (stored as red + 256 * green + 65536 * blue);
// `otherwise` for automatic or any index outside the palette.
QColor paletteColor(const Palette& palette, int index, const QColor& otherwise);

// How cells of one style are drawn: the screen font, the colours and the number
// format, each made ready once.
struct StyleLook {
    StyleLook(const CellStyle& style, const Palette& palette, PlainTextFonts& plainFonts,
              const NumberSymbols& symbols);

    // The font's glyphs for plain text, shared by the looks of the same font and
    // looked up on first use.
    PlainTextFont& plainText() const;
    // The font's average character width, measured on first use (which loads the
    // font, so styles that show no text never do).
    qreal averageCharWidth() const;

    const CellStyle& style;
    QFont font;
    QFontMetricsF metrics;
    QColor textColor;
    std::optional<QColor> fill;  // none: the picture's white shows
    NumberFormat format;

private:
    PlainTextFonts& m_plainFonts;
    mutable PlainTextFont* m_plainText = nullptr;
    mutable std::optional<qreal> m_averageCharWidth;
};

// Looks made once per style of a workbook, on first use, so that drawing thousands
// of cells builds only a handful of fonts. Numbers are shown with the given symbols.
class StyleLooks {
public:
    explicit StyleLooks(const WorkbookData& workbook, NumberSymbols symbols = {});
    const StyleLook& look(StyleId id);
    // The style itself; a plain default one for an id the table does not hold.
    const CellStyle& style(StyleId id) const;
    const Palette& palette() const { return m_workbook.palette; }
    const NumberSymbols& symbols() const { return m_symbols; }

private:
    const WorkbookData& m_workbook;
    const NumberSymbols m_symbols;
    PlainTextFonts m_plainFonts;  // outlives the looks that point into it
    std::vector<std::unique_ptr<StyleLook>> m_looks;
    CellStyle m_unknownStyle;  // for an id the table does not hold
    std::unique_ptr<StyleLook> m_unknownLook;
};

}  // namespace engine::render
