#include "generator/palette.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

TEST(Palette, FilledEntries) {
    generator::FillPalette();
    EXPECT_EQ(generator::PaletteColors(1), 0);
    EXPECT_EQ(generator::PaletteColors(2), 16777215);
    EXPECT_EQ(generator::PaletteColors(10), 9600340);   // 84, 125, 146
    EXPECT_EQ(generator::PaletteColors(15), 14737632);  // 224, 224, 224
    EXPECT_EQ(generator::PaletteColors(35), 16706794);  // 234, 236, 254
    EXPECT_EQ(generator::PaletteColors(56), 51 + 256 * 51 + 65536 * 51);
    EXPECT_EQ(generator::PaletteColors(18), 8 + 256 * 132 + 65536 * 131);
    // Equal colours at more than one index.
    EXPECT_EQ(generator::PaletteColors(6), generator::PaletteColors(27));
    EXPECT_EQ(generator::PaletteColors(7), generator::PaletteColors(26));
    EXPECT_EQ(generator::PaletteColors(8), generator::PaletteColors(28));
    EXPECT_EQ(generator::PaletteColors(9), generator::PaletteColors(30));
    for (int i = 1; i <= generator::kPaletteSize; ++i) {
        EXPECT_GE(generator::PaletteColors(i), 0);
        EXPECT_LE(generator::PaletteColors(i), 0xFFFFFF);
    }
}

TEST(Palette, FillingAgainGivesTheSameTable) {
    generator::FillPalette();
    std::vector<int> first;
    for (int i = 1; i <= generator::kPaletteSize; ++i) first.push_back(generator::PaletteColors(i));
    generator::FillPalette();
    for (int i = 1; i <= generator::kPaletteSize; ++i) EXPECT_EQ(generator::PaletteColors(i), first[i - 1]);
}

TEST(Palette, EmptyUntilFilled) {
    generator::ClearPaletteForTesting();
    for (int i = 1; i <= generator::kPaletteSize; ++i) EXPECT_EQ(generator::PaletteColors(i), 0) << i;
    generator::FillPalette();
    EXPECT_EQ(generator::PaletteColors(2), 16777215);
}

TEST(Palette, IndexOutsideTheTableIsRefused) {
    for (int i : {0, -1, 57, 1000}) {
        try {
            generator::PaletteColors(i);
            FAIL() << i;
        } catch (const shell::Failure& failure) {
            EXPECT_EQ(failure.description(), QStringLiteral("Subscript out of range"));
        }
    }
}
