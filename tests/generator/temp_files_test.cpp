#include "generator/temp_workbook_name.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

TEST(TempWorkbookName, DigitsAreOneToNineAndNotRepeatedPerDraw) {
    generator::NameDigits digits(12345);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int d = digits.draw();
        ASSERT_GE(d, 1);
        ASSERT_LE(d, 9);
        seen.insert(d);
    }
    EXPECT_EQ(seen.size(), 9u);

    // Two fresh generators seeded from the system give different names (a clock
    // seed taken per digit gave eight equal digits within one second).
    generator::NameDigits a, b;
    QString na, nb;
    for (int i = 0; i < 8; ++i) {
        na += QString::number(a.draw());
        nb += QString::number(b.draw());
    }
    EXPECT_NE(na, nb);
}

TEST(TempWorkbookName, ReservationIsExclusiveAndNeverFollowsLinks) {
    QTemporaryDir dir;
    const QString path = dir.filePath("rendle12345678.xls");
    shell::TransientPath claim;
    EXPECT_TRUE(generator::reserveTempFile(path, claim));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(generator::reserveTempFile(path, claim));

    const QString dangling = dir.filePath("rendle87654321.xls");
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dangling));
    EXPECT_FALSE(generator::reserveTempFile(dangling, claim));
    EXPECT_FALSE(QFile::exists(dir.filePath("nowhere")));

    // A missing folder is not "taken": the save reports it.
    EXPECT_TRUE(generator::reserveTempFile(dir.filePath("missing/rendle11111111.xls"), claim));
}
