#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace engine {

// Colours are palette indexes 1..56, or one of these two.
// The font's or the line's own colour ("automatic"; the object model's -4105).
inline constexpr int kColorAutomatic = -4105;
// No fill (the object model's -4142).
inline constexpr int kColorNone = -4142;

// How a cell's content sits across and down the cell.
enum class HorizontalAlignment : std::uint8_t { General, Left, Center, Right };
enum class VerticalAlignment : std::uint8_t { Top, Center, Bottom };
// A border line as stored with a cell: none, or continuous of a weight.
enum class BorderLine : std::uint8_t { None, Thin, Medium, Thick };
// The four sides of a cell, each with a border of its own.
enum class CellSide : std::uint8_t { Left, Top, Bottom, Right };

struct FontStyle {
    QString name = QStringLiteral("Arial");
    double size = 10.0;  // points
    bool bold = false;
    bool italic = false;
    int colorIndex = kColorAutomatic;  // palette index 1..56 or automatic
    friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

struct Border {
    BorderLine line = BorderLine::None;
    int colorIndex = kColorAutomatic;
    friend bool operator==(const Border&, const Border&) = default;
};

// Everything a cell, row, column or the whole sheet can be formatted with.
struct CellStyle {
    FontStyle font;
    int fillColorIndex = kColorNone;  // palette index 1..56, or none
    std::array<Border, 4> borders{};  // indexed by CellSide
    HorizontalAlignment hAlign = HorizontalAlignment::General;
    VerticalAlignment vAlign = VerticalAlignment::Bottom;
    bool wrap = false;
    QString numberFormat = QStringLiteral("General");

    const Border& border(CellSide side) const { return borders[static_cast<int>(side)]; }
    Border& border(CellSide side) { return borders[static_cast<int>(side)]; }
    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

std::size_t hashStyle(const CellStyle& s);

}  // namespace engine
