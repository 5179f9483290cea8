// A range's snapshot: what its picture is painted from, kept past its workbook's
// close and its application's end.
#include "engine/application.h"
#include "engine/detail/background_release.h"
#include "engine/model/sheet.h"

#include <gtest/gtest.h>
#include <optional>

using namespace engine;

namespace {

TEST(SheetSnapshot, OutlivesItsWorkbookAndApplication) {
    std::optional<SheetSnapshot> snapshot;
    {
        const auto app = createApplication();
        const Workbook book = app->Workbooks().Add();
        app->Range("B2").SetFormulaR1C1("Ann");
        app->Range("C3").SetFormulaR1C1("40");
        app->Range("C4").SetFormulaR1C1("=R[-1]C*2");  // its result is current in the snapshot
        book.SetColors(3, 0x123456);
        snapshot = app->ActiveSheet().UsedRange().Snapshot();
        EXPECT_EQ(&snapshot->sheet(), &app->ActiveSheet().Data());  // shared, not copied
        book.Close();
        app->Quit();
    }
    detail::waitForBackgroundReleases();
    EXPECT_EQ(snapshot->area(), (CellArea{1, 1, 3, 2}));  // B2:C4
    ASSERT_NE(snapshot->sheet().cell(1, 1), nullptr);
    EXPECT_EQ(std::get<QString>(snapshot->sheet().cell(1, 1)->value), QStringLiteral("Ann"));
    EXPECT_EQ(std::get<double>(snapshot->sheet().cell(3, 2)->value), 80.0);
    EXPECT_EQ(snapshot->workbook().palette[2], 0x123456u);

    // Another area of the same sheet shares the same data.
    const SheetSnapshot column = snapshot->withArea({0, 2, 9, 2});
    EXPECT_EQ(&column.sheet(), &snapshot->sheet());
    EXPECT_EQ(column.area(), (CellArea{0, 2, 9, 2}));
}

}  // namespace
