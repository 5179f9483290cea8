#include "engine/xls/biff_conventions.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace engine::xls {

namespace {

// The 56 palette entries are colour indexes 8..63. Indexes 0..7 are the fixed
// colours black, white, red, green, blue, yellow, magenta and cyan, which the
// default palette repeats at entries 1..8.
std::optional<int> paletteFromIcv(std::uint16_t icv) {
    if (icv >= 8 && icv <= 63) return icv - 7;
    if (icv <= 7) return icv + 1;
    return std::nullopt;
}

constexpr double kPaddingCharacters = 5.0 / 7.0;

}  // namespace

bool isPaletteColour(int colorIndex) { return colorIndex >= 1 && colorIndex <= 56; }

std::uint16_t fontColourToIcv(int colorIndex) {
    return isPaletteColour(colorIndex) ? colorIndex + 7 : kIcvFontAutomatic;
}

int fontColourFromIcv(std::uint16_t icv) { return paletteFromIcv(icv).value_or(kColorAutomatic); }

std::uint16_t borderColourToIcv(int colorIndex) {
    return isPaletteColour(colorIndex) ? colorIndex + 7 : kIcvSystemForeground;
}

int borderColourFromIcv(std::uint16_t icv, std::uint8_t lineStyle) {
    if (lineStyle == 0 && icv == 0) return kColorAutomatic;  // how absent borders are often stored
    return paletteFromIcv(icv).value_or(kColorAutomatic);
}

std::uint16_t fillColourToIcv(int colorIndex) {
    return isPaletteColour(colorIndex) ? colorIndex + 7 : kIcvSystemForeground;
}

int fillColourFromIcv(std::uint16_t icv) { return paletteFromIcv(icv).value_or(kColorNone); }

std::uint8_t borderLineToBiff(BorderLine line) {
    switch (line) {
    case BorderLine::None: return 0;
    case BorderLine::Thin: return 1;
    case BorderLine::Medium: return 2;
    case BorderLine::Thick: return 5;
    }
    return 0;
}

BorderLine borderLineFromBiff(std::uint8_t style) {
    switch (style) {
    case 0: return BorderLine::None;
    case 2: case 8: case 10: case 12: case 13: return BorderLine::Medium;  // medium, also dashed kinds
    case 5: case 6: return BorderLine::Thick;                              // thick, double
    default: return BorderLine::Thin;                                      // thin, dashed, dotted, hair
    }
}

std::uint8_t hAlignToBiff(HorizontalAlignment a) {
    switch (a) {
    case HorizontalAlignment::General: return 0;
    case HorizontalAlignment::Left: return 1;
    case HorizontalAlignment::Center: return 2;
    case HorizontalAlignment::Right: return 3;
    }
    return 0;
}

HorizontalAlignment hAlignFromBiff(std::uint8_t alc) {
    switch (alc) {
    case 1: case 5: return HorizontalAlignment::Left;       // left, justified
    case 2: case 6: case 7: return HorizontalAlignment::Center;  // centred, across selection, distributed
    case 3: return HorizontalAlignment::Right;
    default: return HorizontalAlignment::General;           // general, fill
    }
}

std::uint8_t vAlignToBiff(VerticalAlignment a) {
    switch (a) {
    case VerticalAlignment::Top: return 0;
    case VerticalAlignment::Center: return 1;
    case VerticalAlignment::Bottom: return 2;
    }
    return 2;
}

VerticalAlignment vAlignFromBiff(std::uint8_t alcV) {
    switch (alcV) {
    case 0: case 3: return VerticalAlignment::Top;      // top, justified
    case 1: case 4: return VerticalAlignment::Center;   // centred, distributed
    default: return VerticalAlignment::Bottom;
    }
}

std::uint16_t columnWidthToBiff(double characters) {
    if (!(characters > 0)) return 0;
    return static_cast<std::uint16_t>(std::clamp(std::lround((characters + kPaddingCharacters) * 256.0), 0L, 0xFFFFL));
}

double columnWidthFromBiff(std::uint16_t width) {
    if (width == 0) return 0;
    const double characters = width / 256.0 - kPaddingCharacters;
    return std::max(0.0, std::round(characters * 100.0) / 100.0);
}

std::uint16_t pointsToTwips(double points) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(points * 20.0), 0L, 0x7FFFL));
}

double twipsToPoints(std::uint16_t twips) { return twips / 20.0; }

namespace {

const std::map<std::uint16_t, QString>& builtInFormats() {
    static const std::map<std::uint16_t, QString> formats{
        {0, QStringLiteral("General")},
        {1, QStringLiteral("0")},
        {2, QStringLiteral("0.00")},
        {3, QStringLiteral("#,##0")},
        {4, QStringLiteral("#,##0.00")},
        {5, QStringLiteral("\"$\"#,##0_);(\"$\"#,##0)")},
        {6, QStringLiteral("\"$\"#,##0_);[Red](\"$\"#,##0)")},
        {7, QStringLiteral("\"$\"#,##0.00_);(\"$\"#,##0.00)")},
        {8, QStringLiteral("\"$\"#,##0.00_);[Red](\"$\"#,##0.00)")},
        {9, QStringLiteral("0%")},
        {10, QStringLiteral("0.00%")},
        {11, QStringLiteral("0.00E+00")},
        {12, QStringLiteral("# ?/?")},
        {13, QStringLiteral("# ?\?/?\?")},
        {14, QStringLiteral("m/d/yyyy")},
        {15, QStringLiteral("d-mmm-yy")},
        {16, QStringLiteral("d-mmm")},
        {17, QStringLiteral("mmm-yy")},
        {18, QStringLiteral("h:mm AM/PM")},
        {19, QStringLiteral("h:mm:ss AM/PM")},
        {20, QStringLiteral("h:mm")},
        {21, QStringLiteral("h:mm:ss")},
        {22, QStringLiteral("m/d/yyyy h:mm")},
        {37, QStringLiteral("#,##0_);(#,##0)")},
        {38, QStringLiteral("#,##0_);[Red](#,##0)")},
        {39, QStringLiteral("#,##0.00_);(#,##0.00)")},
        {40, QStringLiteral("#,##0.00_);[Red](#,##0.00)")},
        {41, QStringLiteral("_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)")},
        {42, QStringLiteral("_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)")},
        {43, QStringLiteral("_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)")},
        {44, QStringLiteral("_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"??_);_(@_)")},
        {45, QStringLiteral("mm:ss")},
        {46, QStringLiteral("[h]:mm:ss")},
        {47, QStringLiteral("mm:ss.0")},
        {48, QStringLiteral("##0.0E+0")},
        {49, QStringLiteral("@")},
    };
    return formats;
}

}  // namespace

std::optional<std::uint16_t> builtInFormatIndex(const QString& format) {
    // Only formats that read the same in every locale are referred to by index; the
    // rest (currency, dates) are written out as custom formats.
    static const std::uint16_t portable[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 37, 38, 39, 40, 45, 46, 47, 48, 49};
    for (auto index : portable)
        if (builtInFormats().at(index) == format) return index;
    return std::nullopt;
}

std::optional<QString> builtInFormatText(std::uint16_t index) {
    auto it = builtInFormats().find(index);
    if (it == builtInFormats().end()) return std::nullopt;
    return it->second;
}

}  // namespace engine::xls
