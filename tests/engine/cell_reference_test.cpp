#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

CellArea area(int r1, int c1, int r2, int c2) { return CellArea{r1, c1, r2, c2}; }

TEST(CellReference, ReadsCellsAndAreasWithOrWithoutDollars) {
    EXPECT_EQ(parseRangeReference("B1"), area(0, 1, 0, 1));
    EXPECT_EQ(parseRangeReference("$B$1"), area(0, 1, 0, 1));
    EXPECT_EQ(parseRangeReference("$B7:$B7"), area(6, 1, 6, 1));
    EXPECT_EQ(parseRangeReference("b6:d9"), area(5, 1, 8, 3));
    EXPECT_EQ(parseRangeReference("IV65536"), area(65535, 255, 65535, 255));
}

TEST(CellReference, PutsReversedCornersInOrder) {
    EXPECT_EQ(parseRangeReference("$B7:$D6"), area(5, 1, 6, 3));
    EXPECT_EQ(parseRangeReference("D9:B6"), area(5, 1, 8, 3));
}

TEST(CellReference, ReadsWholeRowsAndColumns) {
    EXPECT_EQ(parseRangeReference("1:1"), area(0, 0, 0, 255));
    EXPECT_EQ(parseRangeReference("$7:$3"), area(2, 0, 6, 255));
    EXPECT_EQ(parseRangeReference("A:A"), area(0, 0, 65535, 0));
    EXPECT_EQ(parseRangeReference("J:E"), area(0, 4, 65535, 9));
    EXPECT_EQ(parseRowsReference("7:7"), area(6, 0, 6, 255));
    EXPECT_EQ(parseRowsReference("7"), area(6, 0, 6, 255));
    EXPECT_EQ(parseColumnsReference("E:J"), area(0, 4, 65535, 9));
    EXPECT_EQ(parseColumnsReference("C"), area(0, 2, 65535, 2));
}

TEST(CellReference, RefusesWhatItCannotRead) {
    for (const char* text : {"", " B1", "B1 ", "B", "1", "A0", "A65537", "IW1", "AAAA1", "B1:", ":B1", "A1:B",
                             "1:B", "$$A1", "A$", "A1:B2:C3", "A1,B2", "Sheet1!A1", "R1C1", "B-1",
                             // characters next to the letters in the character table
                             "@1", "[1", "`1", "{1", "A[1", "B1:Z@1", "\xC1" "1", "B1x:B1x", "A0:A0", "$$B1:$$B1"}) {
        EXPECT_THROW(parseRangeReference(QString::fromLatin1(text)), EngineError) << text;
    }
    EXPECT_THROW(parseRowsReference("A:A"), EngineError);
    EXPECT_THROW(parseRowsReference("B2"), EngineError);
    EXPECT_THROW(parseColumnsReference("1:1"), EngineError);
}

TEST(CellReference, DescribesTheUnreadableText) {
    try {
        parseRangeReference("$B7:$Q");
        FAIL() << "no failure";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), "The range reference \"$B7:$Q\" cannot be read.");
    }
}

TEST(CellReference, WritesAreasAsText) {
    EXPECT_EQ(areaReference(area(0, 0, 8, 8)), "A1:I9");
    EXPECT_EQ(areaReference(area(0, 1, 0, 3), true), "$B$1:$D$1");
    EXPECT_EQ(areaReference(area(14, 2, 14, 2)), "C15");
    EXPECT_EQ(areaReference(area(6, 0, 6, 255)), "7:7");
    EXPECT_EQ(areaReference(area(0, 26, 65535, 27), true), "$AA:$AB");
    EXPECT_EQ(areaReference(area(0, 0, 65535, 255)), "A1:IV65536");
}

}  // namespace
