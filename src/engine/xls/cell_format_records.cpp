#include "engine/xls/cell_format_records.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_conventions.h"
#include "engine/xls/biff_reader.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"

#include <cmath>

namespace engine::xls {

namespace {

constexpr std::uint16_t kBoldLegacy = 0x0001;  // older readers look here for bold
constexpr std::uint16_t kItalic = 0x0002;
constexpr std::uint16_t kWeightNormal = 400;
constexpr std::uint16_t kWeightBold = 700;

// Bits of the XF's "attributes used" byte, all set in a cell XF so that it stands
// on its own rather than inheriting from the Normal style.
constexpr std::uint16_t kAllAttributesUsed = 0xFC00;

}  // namespace

QByteArray fontRecordBody(const FontStyle& font) {
    if (font.name.isEmpty() || font.name.size() > 255)
        throw EngineError(QStringLiteral("The font name \"%1\" cannot be saved.").arg(font.name.left(40)));
    QByteArray body;
    ByteWriter w(body);
    w.u16(pointsToTwips(font.size));
    w.u16((font.italic ? kItalic : 0) | (font.bold ? kBoldLegacy : 0));
    w.u16(fontColourToIcv(font.colorIndex));
    w.u16(font.bold ? kWeightBold : kWeightNormal);
    w.u16(0);  // neither superscript nor subscript
    w.u8(0);   // no underline
    w.u8(0);   // font family: not specified
    w.u8(0);   // character set: ANSI
    w.u8(0);
    appendUnicodeString(body, font.name, LengthField::Byte);
    return body;
}

FontStyle readFontRecord(RecordReader& r) {
    FontStyle font;
    font.size = twipsToPoints(r.u16());
    font.italic = r.u16() & kItalic;
    font.colorIndex = fontColourFromIcv(r.u16());
    font.bold = r.u16() >= 600;
    r.skip(2 + 1 + 1 + 1 + 1);
    font.name = r.shortString();
    return font;
}

QByteArray cellXfBody(const CellStyle& s, std::uint16_t fontIndex, std::uint16_t formatIndex) {
    QByteArray body;
    ByteWriter w(body);
    w.u16(fontIndex);
    w.u16(formatIndex);
    w.u16(0x0001);  // locked, a cell XF whose parent is the Normal style XF 0
    w.u8(hAlignToBiff(s.hAlign) | (s.wrap ? 0x08 : 0) | (vAlignToBiff(s.vAlign) << 4));
    w.u8(0);  // no rotation
    w.u16(kAllAttributesUsed);

    const Border& left = s.border(CellSide::Left);
    const Border& right = s.border(CellSide::Right);
    const Border& top = s.border(CellSide::Top);
    const Border& bottom = s.border(CellSide::Bottom);
    w.u16(borderLineToBiff(left.line) | (borderLineToBiff(right.line) << 4) | (borderLineToBiff(top.line) << 8) |
          (borderLineToBiff(bottom.line) << 12));
    w.u16(borderColourToIcv(left.colorIndex) | (borderColourToIcv(right.colorIndex) << 7));
    w.u32(borderColourToIcv(top.colorIndex) | (std::uint32_t(borderColourToIcv(bottom.colorIndex)) << 7) |
          (std::uint32_t(isPaletteColour(s.fillColorIndex) ? 1 : 0) << 26));
    const std::uint16_t fore = isPaletteColour(s.fillColorIndex) ? fillColourToIcv(s.fillColorIndex) : kIcvSystemForeground;
    w.u16(fore | (kIcvSystemBackground << 7));
    return body;
}

QByteArray styleXfBody(std::uint16_t fontIndex, std::uint16_t formatIndex) {
    QByteArray body;
    ByteWriter w(body);
    w.u16(fontIndex);
    w.u16(formatIndex);
    w.u16(0xFFF5);  // locked, style XF, no parent
    w.u8(0x20);     // general, bottom aligned
    w.u8(0);
    w.u16(0);       // every attribute valid
    w.u16(0);
    w.u16(0);
    w.u32(0);
    w.u16(kIcvSystemForeground | (kIcvSystemBackground << 7));
    return body;
}

DecodedXf readXfRecord(RecordReader& r) {
    DecodedXf xf;
    xf.fontIndex = r.u16();
    xf.formatIndex = r.u16();
    r.u16();  // protection, type and parent
    const std::uint8_t align = r.u8();
    r.u8();   // rotation
    r.u16();  // indent, shrink, reading order, attributes used
    const std::uint16_t lines = r.u16();
    const std::uint16_t sideColours = r.u16();
    const std::uint32_t moreColours = r.u32();
    const std::uint16_t fillColours = r.u16();

    CellStyle& s = xf.style;
    s.hAlign = hAlignFromBiff(align & 0x07);
    s.wrap = align & 0x08;
    s.vAlign = vAlignFromBiff((align >> 4) & 0x07);
    auto setBorder = [&](CellSide edge, std::uint8_t style, std::uint16_t icv) {
        s.border(edge).line = borderLineFromBiff(style);
        s.border(edge).colorIndex = borderColourFromIcv(icv, style);
    };
    setBorder(CellSide::Left, lines & 0x0F, sideColours & 0x7F);
    setBorder(CellSide::Right, (lines >> 4) & 0x0F, (sideColours >> 7) & 0x7F);
    setBorder(CellSide::Top, (lines >> 8) & 0x0F, moreColours & 0x7F);
    setBorder(CellSide::Bottom, (lines >> 12) & 0x0F, (moreColours >> 7) & 0x7F);
    const std::uint8_t pattern = (moreColours >> 26) & 0x3F;
    s.fillColorIndex = pattern == 0 ? kColorNone : fillColourFromIcv(fillColours & 0x7F);
    return xf;
}

}  // namespace engine::xls
