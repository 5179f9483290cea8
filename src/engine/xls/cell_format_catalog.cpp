#include "engine/xls/cell_format_catalog.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_conventions.h"

namespace engine::xls {

const FontStyle& CellFormatCatalog::font(std::uint16_t index) const {
    // The file has no font 4: the fifth font read is font 5.
    const std::size_t position = index < 4 ? index : std::size_t(index) - 1;
    if (index == 4 || position >= m_fonts.size())
        throw EngineError(QStringLiteral("a cell format refers to font %1, which does not exist").arg(index));
    return m_fonts[position];
}

QString CellFormatCatalog::format(std::uint16_t index) const {
    if (auto it = m_formats.find(index); it != m_formats.end()) return it->second;
    if (auto builtIn = builtInFormatText(index)) return *builtIn;
    // Built-in formats of other locales are shown as General.
    if (index < kFirstCustomFormat) return QStringLiteral("General");
    throw EngineError(QStringLiteral("a cell format refers to number format %1, which does not exist").arg(index));
}

StyleId CellFormatCatalog::resolve(std::uint16_t xfIndex) {
    if (xfIndex >= m_xfs.size())
        throw EngineError(QStringLiteral("a cell refers to cell format %1, which does not exist").arg(xfIndex));
    if (m_resolved.size() < m_xfs.size()) m_resolved.resize(m_xfs.size());
    if (!m_resolved[xfIndex]) {
        const DecodedXf& xf = m_xfs[xfIndex];
        CellStyle s = xf.style;
        s.font = font(xf.fontIndex);
        s.numberFormat = format(xf.formatIndex);
        m_resolved[xfIndex] = m_styles.intern(s);
    }
    return *m_resolved[xfIndex];
}

}  // namespace engine::xls
