#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace engine {

// Colour index meaning "automatic" (the object model's xlColorIndexAutomatic).
inline constexpr int kColorAutomatic = -4105;
// Colour index meaning "no fill" (xlColorIndexNone).
inline constexpr int kColorNone = -4142;

enum class HAlign : std::uint8_t { General, Left, Center, Right };
enum class VAlign : std::uint8_t { Top, Center, Bottom };
enum class BorderLine : std::uint8_t { None, Thin, Medium, Thick };
enum class BorderEdge : std::uint8_t { Left, Top, Bottom, Right };

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
    std::array<Border, 4> borders{};  // indexed by BorderEdge
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    QString numberFormat = QStringLiteral("General");

    const Border& border(BorderEdge e) const { return borders[static_cast<int>(e)]; }
    Border& border(BorderEdge e) { return borders[static_cast<int>(e)]; }
    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

std::size_t hashStyle(const CellStyle& s);

}  // namespace engine
