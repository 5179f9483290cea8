#pragma once

#include "engine/model/style_table.h"
#include "engine/xls/cell_format_records.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace engine::xls {

// The fonts, number formats and XFs read from a workbook's globals, turning XF
// indexes into the engine's interned styles. An index that points nowhere (XF, font
// or custom format) raises EngineError.
class CellFormatCatalog {
public:
    explicit CellFormatCatalog(StyleTable& styles) : m_styles(styles) {}

    void addFont(const FontStyle& font) { m_fonts.push_back(font); }
    void addFormat(std::uint16_t index, const QString& format) { m_formats[index] = format; }
    void addXf(const DecodedXf& xf) { m_xfs.push_back(xf); }

    StyleId style(std::uint16_t xfIndex) {
        if (xfIndex < m_resolved.size() && m_resolved[xfIndex]) return *m_resolved[xfIndex];
        return resolve(xfIndex);
    }

private:
    StyleId resolve(std::uint16_t xfIndex);
    const FontStyle& font(std::uint16_t index) const;
    QString format(std::uint16_t index) const;

    StyleTable& m_styles;
    std::vector<FontStyle> m_fonts;
    std::map<std::uint16_t, QString> m_formats;
    std::vector<DecodedXf> m_xfs;
    std::vector<std::optional<StyleId>> m_resolved;
};

}  // namespace engine::xls
