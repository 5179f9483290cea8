#include "generator/palette.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

TEST(Palette, Entries) {
    EXPECT_EQ(generator::paletteColor(1), 0);
    EXPECT_EQ(generator::paletteColor(2), 16777215);
    EXPECT_EQ(generator::paletteColor(10), 9600340);   // 84, 125, 146
    EXPECT_EQ(generator::paletteColor(15), 14737632);  // 224, 224, 224
    EXPECT_EQ(generator::paletteColor(35), 16706794);  // 234, 236, 254
    EXPECT_EQ(generator::paletteColor(56), 51 + 256 * 51 + 65536 * 51);
    EXPECT_EQ(generator::paletteColor(18), 8 + 256 * 132 + 65536 * 131);
    // Equal colours at more than one index.
    EXPECT_EQ(generator::paletteColor(6), generator::paletteColor(27));
    EXPECT_EQ(generator::paletteColor(7), generator::paletteColor(26));
    EXPECT_EQ(generator::paletteColor(8), generator::paletteColor(28));
    EXPECT_EQ(generator::paletteColor(9), generator::paletteColor(30));
    for (int i = 1; i <= generator::kPaletteSize; ++i) {
        EXPECT_GE(generator::paletteColor(i), 0);
        EXPECT_LE(generator::paletteColor(i), 0xFFFFFF);
    }
}

TEST(Palette, IndexOutsideTheTableIsRefused) {
    for (int i : {0, -1, 57, 1000}) {
        try {
            generator::paletteColor(i);
            FAIL() << i;
        } catch (const shell::Failure& failure) {
            EXPECT_EQ(failure.description(), QStringLiteral("The palette has no colour %1; its colours are 1 to 56.").arg(i));
        }
    }
}
