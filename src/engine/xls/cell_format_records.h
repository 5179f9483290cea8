#pragma once

#include "engine/model/cell_style.h"

#include <QByteArray>
#include <cstdint>

// The FONT and XF records that carry a cell format.
namespace engine::xls {

class RecordReader;

QByteArray fontRecordBody(const FontStyle& font);
FontStyle readFontRecord(RecordReader& body);

// A cell XF: font and number format by their indexes, the rest from the style.
QByteArray cellXfBody(const CellStyle& style, std::uint16_t fontIndex, std::uint16_t formatIndex);
// A style XF of the built-in styles (Normal and the outline levels, Comma, Currency,
// Percent) as a new workbook has them.
QByteArray styleXfBody(std::uint16_t fontIndex, std::uint16_t formatIndex);

// An XF as read: the font and format indexes, and everything else already in place.
struct DecodedXf {
    std::uint16_t fontIndex = 0;
    std::uint16_t formatIndex = 0;
    CellStyle style;  // font and number format left at their defaults
};
DecodedXf readXfRecord(RecordReader& body);

}  // namespace engine::xls
