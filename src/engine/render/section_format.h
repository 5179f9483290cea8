#pragma once

#include "engine/render/format_tokens.h"
#include "engine/render/number_format.h"

#include <QString>

// How one section of a number format shows a value.
namespace engine::render {

// A number (taken as its magnitude; the caller writes any sign) through digit
// placeholders, decimal point, grouping, scaling commas, percent, exponent and
// literal text; the decimal point and grouping written with the given symbols.
QString formatNumberSection(double magnitude, const FormatSection& section, const NumberSymbols& symbols);

// A date serial through date and time codes; "########" for a serial that is no date.
QString formatDateSection(double serial, const FormatSection& section);

// A text value through a section holding "@" and literal text.
QString formatTextSection(const QString& text, const FormatSection& section);

// What a spreadsheet shows for a date it cannot display.
inline QString unshowableDate() { return QStringLiteral("########"); }

}  // namespace engine::render
