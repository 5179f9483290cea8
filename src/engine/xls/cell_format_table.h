#pragma once

#include "engine/model/style_table.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace engine::xls {

class BiffWriter;

// The fonts, number formats and cell XFs that a workbook's used styles need, in file
// order, with each style's XF index. XFs 0..20 are the built-in style XFs and the
// default cell XF (15) a new workbook has; the workbook's own formats follow.
class CellFormatTable {
public:
    CellFormatTable(const StyleTable& styles, const std::vector<StyleId>& used);

    std::uint16_t xfIndex(StyleId id) const {
        if (id >= m_xfOfStyle.size() || m_xfOfStyle[id] == kNoXf) unknownStyle();
        return m_xfOfStyle[id];
    }
    void write(BiffWriter& out) const;  // FONT, FORMAT, XF and STYLE records

    static constexpr std::uint16_t kDefaultCellXf = 15;
    static constexpr std::uint16_t kFirstCellXf = 21;

private:
    static constexpr std::uint16_t kNoXf = 0;  // no style is given XF 0, a style XF
    [[noreturn]] static void unknownStyle();
    std::uint16_t fontIndex(const FontStyle& font);
    std::uint16_t formatIndex(const QString& format);

    std::vector<FontStyle> m_fonts;                   // index 4 does not exist in the file
    std::vector<QString> m_customFormats;             // indexes 164 on
    std::vector<QByteArray> m_cellXfs;                // XFs 21 on
    std::vector<std::uint16_t> m_xfOfStyle;           // by style id; kNoXf for unused styles
};

}  // namespace engine::xls
