#include "engine/xls/cell_format_table.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_conventions.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/cell_format_records.h"

#include <algorithm>

namespace engine::xls {

namespace {

// Spreadsheet applications accept about four thousand XFs in a workbook.
constexpr std::size_t kMaxXfs = 4000;

// The built-in styles after Normal: STYLE id, XF index and number format.
struct BuiltInStyle {
    std::uint8_t id;
    std::uint16_t xf;
    std::uint16_t format;
};
constexpr BuiltInStyle kBuiltInStyles[] = {
    {3, 16, 43},  // Comma
    {6, 17, 41},  // Comma [0]
    {4, 18, 44},  // Currency
    {7, 19, 42},  // Currency [0]
    {5, 20, 9},   // Percent
};

}  // namespace

CellFormatTable::CellFormatTable(const StyleTable& styles, const std::vector<StyleId>& used) {
    // Fonts 0..3 are the standard font, as a new workbook has them.
    m_fonts.assign(4, CellStyle{}.font);
    for (StyleId id : used) {
        if (id < m_xfOfStyle.size() && m_xfOfStyle[id] != kNoXf) continue;
        const CellStyle& style = styles.style(id);
        if (id >= m_xfOfStyle.size()) m_xfOfStyle.resize(std::size_t(id) + 1, kNoXf);
        if (style == CellStyle{}) {
            m_xfOfStyle[id] = kDefaultCellXf;
            continue;
        }
        if (kFirstCellXf + m_cellXfs.size() >= kMaxXfs)
            throw EngineError(QStringLiteral("The workbook has too many different cell formats to be saved."));
        const std::uint16_t font = fontIndex(style.font);
        const std::uint16_t format = formatIndex(style.numberFormat);
        m_xfOfStyle[id] = static_cast<std::uint16_t>(kFirstCellXf + m_cellXfs.size());
        m_cellXfs.push_back(cellXfBody(style, font, format));
    }
}

void CellFormatTable::unknownStyle() {
    throw EngineError(QStringLiteral("A cell has a format that the workbook's format table does not hold."));
}

std::uint16_t CellFormatTable::fontIndex(const FontStyle& font) {
    auto it = std::find(m_fonts.begin(), m_fonts.end(), font);
    const auto position = static_cast<std::uint16_t>(it - m_fonts.begin());
    if (it == m_fonts.end()) m_fonts.push_back(font);
    // The file has no font 4: fonts from the fifth on are numbered one higher.
    return position >= 4 ? position + 1 : position;
}

std::uint16_t CellFormatTable::formatIndex(const QString& format) {
    if (auto builtIn = builtInFormatIndex(format)) return *builtIn;
    if (format.size() > 255) throw EngineError(QStringLiteral("The number format \"%1...\" is too long to be saved.").arg(format.left(40)));
    auto it = std::find(m_customFormats.begin(), m_customFormats.end(), format);
    const auto position = static_cast<std::uint16_t>(it - m_customFormats.begin());
    if (it == m_customFormats.end()) m_customFormats.push_back(format);
    return kFirstCustomFormat + position;
}

void CellFormatTable::write(BiffWriter& out) const {
    for (const FontStyle& font : m_fonts) out.record(rt::kFont, fontRecordBody(font));

    for (std::size_t i = 0; i < m_customFormats.size(); ++i) {
        QByteArray body;
        ByteWriter(body).u16(kFirstCustomFormat + i);
        appendUnicodeString(body, m_customFormats[i], LengthField::Word);
        out.record(rt::kFormat, body);
    }

    for (std::uint16_t xf = 0; xf < kDefaultCellXf; ++xf) out.record(rt::kXf, styleXfBody(0, 0));
    out.record(rt::kXf, cellXfBody(CellStyle{}, 0, 0));
    for (const auto& s : kBuiltInStyles) out.record(rt::kXf, styleXfBody(0, s.format));
    for (const QByteArray& xf : m_cellXfs) out.record(rt::kXf, xf);

    auto style = [&](std::uint16_t xf, std::uint8_t id) {
        QByteArray body;
        ByteWriter w(body);
        w.u16(0x8000 | xf);  // a built-in style
        w.u8(id);
        w.u8(0xFF);          // no outline level
        out.record(rt::kStyle, body);
    };
    style(0, 0);  // Normal
    for (const auto& s : kBuiltInStyles) style(s.xf, s.id);
}

}  // namespace engine::xls
