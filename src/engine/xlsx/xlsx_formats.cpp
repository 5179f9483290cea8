#include "engine/xlsx/xlsx_formats.h"

#include "engine/model/engine_error.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <xlsxwriter.h>

namespace engine::xlsx {
namespace {

// A palette entry (stored as red + 256 * green + 65536 * blue) as libxlsxwriter's
// 0xRRGGBB; none for automatic, no fill, or any index outside the palette.
std::optional<lxw_color_t> paletteRgb(const Palette& palette, int index) {
    if (index < 1 || index > static_cast<int>(palette.size())) return std::nullopt;
    const std::uint32_t value = palette[static_cast<std::size_t>(index - 1)];
    const lxw_color_t rgb = ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
    // libxlsxwriter reads 0 as "no colour"; black has a value of its own.
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

// A font name or number format as libxlsxwriter keeps it: at most 127 bytes of
// UTF-8. A longer one would be cut, perhaps inside a character, so it is refused.
QByteArray formatField(const QString& text, const char* what) {
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() >= LXW_FORMAT_FIELD_LEN)
        throw EngineError(QStringLiteral("The %1 \"%2\" is too long for an .xlsx workbook.").arg(QLatin1StringView(what), text));
    return utf8;
}

// libxlsxwriter's values for the model's enumerators, in their order.
constexpr std::uint8_t kBorderStyles[] = {LXW_BORDER_NONE, LXW_BORDER_THIN, LXW_BORDER_MEDIUM, LXW_BORDER_THICK};
constexpr std::uint8_t kHorizontalAlignments[] = {LXW_ALIGN_NONE, LXW_ALIGN_LEFT, LXW_ALIGN_CENTER, LXW_ALIGN_RIGHT};
constexpr std::uint8_t kVerticalAlignments[] = {LXW_ALIGN_VERTICAL_TOP, LXW_ALIGN_VERTICAL_CENTER,
                                                LXW_ALIGN_VERTICAL_BOTTOM};

static_assert(std::size(kBorderStyles) == std::size_t(BorderLine::Thick) + 1);
static_assert(std::size(kHorizontalAlignments) == std::size_t(HorizontalAlignment::Right) + 1);
static_assert(std::size(kVerticalAlignments) == std::size_t(VerticalAlignment::Bottom) + 1);

template <std::size_t N, typename Enum>
std::uint8_t libraryValue(const std::uint8_t (&values)[N], Enum value) {
    return values[std::min(static_cast<std::size_t>(value), N - 1)];
}

void setFont(lxw_format* f, const FontStyle& font, const Palette& palette) {
    format_set_font_name(f, formatField(font.name, "font name").constData());
    format_set_font_size(f, font.size);
    if (font.bold) format_set_bold(f);
    if (font.italic) format_set_italic(f);
    if (const auto rgb = paletteRgb(palette, font.colorIndex)) format_set_font_color(f, *rgb);
}

void setBorders(lxw_format* f, const CellStyle& style, const Palette& palette) {
    using Setter = void (*)(lxw_format*, std::uint8_t);
    using ColorSetter = void (*)(lxw_format*, lxw_color_t);
    struct Side {
        CellSide side;
        Setter line;
        ColorSetter color;
    };
    constexpr Side sides[] = {
        {CellSide::Left, format_set_left, format_set_left_color},
        {CellSide::Top, format_set_top, format_set_top_color},
        {CellSide::Bottom, format_set_bottom, format_set_bottom_color},
        {CellSide::Right, format_set_right, format_set_right_color},
    };
    for (const Side& s : sides) {
        const Border& border = style.border(s.side);
        if (border.line == BorderLine::None) continue;
        s.line(f, libraryValue(kBorderStyles, border.line));
        if (const auto rgb = paletteRgb(palette, border.colorIndex)) s.color(f, *rgb);
    }
}

}  // namespace

XlsxFormats::XlsxFormats(lxw_workbook* book, const WorkbookData& data) : m_book(book), m_data(data) {}

lxw_format* XlsxFormats::format(StyleId id) {
    if (const auto it = m_formats.find(id); it != m_formats.end()) return it->second;
    const CellStyle& style = m_data.styles.style(id);
    lxw_format* f = workbook_add_format(m_book);
    if (!f) throw EngineError(QStringLiteral("Out of memory while writing the cell formats."));

    setFont(f, style.font, m_data.palette);
    if (const auto fill = paletteRgb(m_data.palette, style.fillColorIndex)) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, *fill);
    }
    setBorders(f, style, m_data.palette);
    if (style.hAlign != HorizontalAlignment::General)
        format_set_align(f, libraryValue(kHorizontalAlignments, style.hAlign));
    format_set_align(f, libraryValue(kVerticalAlignments, style.vAlign));
    if (style.wrap) format_set_text_wrap(f);
    if (style.numberFormat != QLatin1String("General"))
        format_set_num_format(f, formatField(style.numberFormat, "number format").constData());

    m_formats.emplace(id, f);
    return f;
}

}  // namespace engine::xlsx
