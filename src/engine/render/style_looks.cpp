#include "engine/render/style_looks.h"

#include "engine/render/sheet_geometry.h"

namespace engine::render {

namespace {

QFont screenFont(const FontStyle& f) {
    QFont font(f.name);
    font.setPixelSize(fontPixelSize(f.size));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

}  // namespace

QColor paletteColor(const Palette& palette, int index, const QColor& otherwise) {
    if (index < 1 || index > static_cast<int>(palette.size())) return otherwise;
    const std::uint32_t value = palette[static_cast<std::size_t>(index - 1)];
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

StyleLook::StyleLook(const CellStyle& s, const Palette& palette, PlainTextFonts& plainFonts,
                     const NumberSymbols& symbols)
    : style(s),
      font(screenFont(s.font)),
      metrics(font),
      textColor(paletteColor(palette, s.font.colorIndex, Qt::black)),
      format(s.numberFormat, symbols),
      m_plainFonts(plainFonts) {
    const QColor fillColor = paletteColor(palette, s.fillColorIndex, QColor());
    if (fillColor.isValid()) fill = fillColor;
}

qreal StyleLook::averageCharWidth() const {
    if (!m_averageCharWidth) m_averageCharWidth = metrics.averageCharWidth();
    return *m_averageCharWidth;
}

PlainTextFont& StyleLook::plainText() const {
    if (!m_plainText) m_plainText = &m_plainFonts.of(font);
    return *m_plainText;
}

StyleLooks::StyleLooks(const WorkbookData& workbook, NumberSymbols symbols)
    : m_workbook(workbook), m_symbols(std::move(symbols)), m_looks(workbook.styles.size()) {}

const CellStyle& StyleLooks::style(StyleId id) const {
    return id < m_looks.size() ? m_workbook.styles.style(id) : m_unknownStyle;
}

const StyleLook& StyleLooks::look(StyleId id) {
    if (id >= m_looks.size()) {
        if (!m_unknownLook) m_unknownLook = std::make_unique<StyleLook>(m_unknownStyle, m_workbook.palette, m_plainFonts, m_symbols);
        return *m_unknownLook;
    }
    auto& slot = m_looks[id];
    if (!slot) slot = std::make_unique<StyleLook>(m_workbook.styles.style(id), m_workbook.palette, m_plainFonts, m_symbols);
    return *slot;
}

}  // namespace engine::render
