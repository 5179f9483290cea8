#include "generator/palette.h"

#include "shell/failure.h"

#include <array>

namespace generator {
namespace {

struct Rgb {
    int red, green, blue;
};

constexpr std::array<Rgb, kPaletteSize> kColours{{
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {104, 150, 206},
    {255, 255, 0},   {255, 0, 255},   {0, 255, 255},   {128, 0, 0},     {84, 125, 146},
    {180, 195, 175}, {120, 145, 110}, {240, 235, 220}, {175, 180, 135}, {224, 224, 224},
    {128, 128, 128}, {153, 153, 255}, {8, 132, 131},   {249, 247, 105}, {204, 255, 255},
    {102, 0, 102},   {255, 128, 128}, {0, 102, 204},   {204, 204, 255}, {0, 0, 128},
    {255, 0, 255},   {255, 255, 0},   {0, 255, 255},   {128, 0, 128},   {128, 0, 0},
    {0, 128, 128},   {0, 0, 255},     {0, 204, 255},   {254, 252, 242}, {234, 236, 254},
    {255, 231, 189}, {252, 250, 242}, {255, 153, 204}, {224, 255, 215}, {253, 247, 223},
    {51, 102, 255},  {51, 204, 204},  {177, 255, 209}, {255, 204, 0},   {255, 153, 0},
    {255, 102, 0},   {251, 248, 239}, {207, 207, 207}, {190, 190, 190}, {51, 153, 102},
    {115, 158, 211}, {236, 245, 215}, {153, 51, 0},    {153, 51, 102},  {204, 255, 204},
    {51, 51, 51},
}};

std::array<int, kPaletteSize> g_palette{};

}  // namespace

int PaletteColors(int i) {
    if (i < 1 || i > kPaletteSize) throw shell::Failure(QStringLiteral("Subscript out of range"));
    return g_palette[i - 1];
}

void FillPalette() {
    for (int i = 0; i < kPaletteSize; ++i) {
        const Rgb& c = kColours[i];
        g_palette[i] = c.red + 256 * c.green + 65536 * c.blue;
    }
}

void ClearPaletteForTesting() { g_palette.fill(0); }

}  // namespace generator
