// Applications, workbooks, sheets, selection and page setup of the built-in engine.
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

TEST(Application, WithoutAWorkbookTheActiveObjectsFail) {
    Application app;
    EXPECT_THROW(app.ActiveSheet(), EngineError);
    EXPECT_THROW(app.Range("A1"), EngineError);
    EXPECT_THROW(app.Selection(), EngineError);
    EXPECT_EQ(app.Workbooks().Count(), 0);
}

TEST(Workbooks, AddMakesAWorkbookOfThreeSheetsActiveAndLast) {
    Application app;
    const Workbook first = app.Workbooks().Add();
    const Workbook second = app.Workbooks().Add();
    EXPECT_EQ(app.Workbooks().Count(), 2);
    EXPECT_EQ(app.ActiveWorkbook().Name(), second.Name());
    EXPECT_EQ(app.Workbooks()(2).Name(), "Book2");
    EXPECT_EQ(app.Sheets().Count(), 3);
    EXPECT_EQ(app.Sheets()(1).Name(), "Sheet1");
    EXPECT_EQ(app.Sheets()(3).Name(), "Sheet3");
    EXPECT_EQ(app.ActiveSheet().Name(), "Sheet1");
    EXPECT_THROW(app.Workbooks()(3), EngineError);
    EXPECT_THROW(app.Sheets()(0), EngineError);
    first.Close();
    EXPECT_EQ(app.Workbooks().Count(), 1);
    EXPECT_THROW(first.Name(), EngineError);
}

TEST(Sheets, DeletingDownToOneSheetAndRenamingIt) {
    Application app;
    app.Workbooks().Add();
    const Worksheet second = app.Sheets()(2);
    second.Delete();
    app.Sheets()(2).Delete();
    EXPECT_EQ(app.Sheets().Count(), 1);
    EXPECT_THROW(app.Sheets()(1).Delete(), EngineError);
    EXPECT_THROW(second.Name(), EngineError);  // a handle to a deleted sheet
    app.Sheets()(app.Sheets().Count()).SetName("Inventory List");
    EXPECT_EQ(app.ActiveSheet().Name(), "Inventory List");
}

TEST(Sheets, NamesAreCheckedAndUnique) {
    Application app;
    app.Workbooks().Add();
    EXPECT_THROW(app.Sheets()(1).SetName(""), EngineError);
    EXPECT_THROW(app.Sheets()(1).SetName("a/b"), EngineError);
    EXPECT_THROW(app.Sheets()(1).SetName(QString(32, u'x')), EngineError);
    EXPECT_THROW(app.Sheets()(1).SetName("sheet2"), EngineError);
    app.Sheets()(1).SetName("SHEET1");
    EXPECT_EQ(app.Sheets()(1).Name(), "SHEET1");
}

TEST(Sheets, DeletingTheActiveSheetActivatesANeighbour) {
    Application app;
    app.Workbooks().Add();
    app.Sheets()(3).Select();
    app.Sheets()(3).Delete();
    EXPECT_EQ(app.ActiveSheet().Name(), "Sheet2");
    app.Sheets()(1).Select();
    app.Sheets()(1).Delete();
    EXPECT_EQ(app.ActiveSheet().Name(), "Sheet2");
}

TEST(Selection, FollowsSelectAndGivesItsTopLeftAsActiveCell) {
    Application app;
    app.Workbooks().Add();
    EXPECT_EQ(app.Selection().Address(), "$A$1");
    app.Range("$B7:$D6").Select();
    EXPECT_EQ(app.Selection().Address(), "$B$6:$D$7");
    EXPECT_EQ(app.ActiveCell().Address(), "$B$6");
    app.Rows("7:7").Select();
    EXPECT_EQ(app.ActiveCell().Address(), "$A$7");
    app.Cells().Select();
    EXPECT_EQ(app.Selection().Count(), 65536LL * 256);
    // Each sheet keeps its own selection.
    app.Sheets()(2).Select();
    EXPECT_EQ(app.Selection().Address(), "$A$1");
    app.Sheets()(1).Select();
    EXPECT_EQ(app.Selection().Count(), 65536LL * 256);
}

TEST(Selection, AnUnreadableTextFailsAndLeavesTheSelection) {
    Application app;
    app.Workbooks().Add();
    app.Range("C3").Select();
    EXPECT_THROW(app.Range("C3:").Select(), EngineError);
    EXPECT_EQ(app.Selection().Address(), "$C$3");
}

// Cells by position name the areas of their texts; positions outside the sheet,
// and corners on another sheet, are refused.
TEST(Positions, NameTheAreasOfTheirTextsWithinTheSheet) {
    Application app;
    app.Workbooks().Add();
    const Worksheet sheet = app.ActiveSheet();
    const Worksheet other = app.Sheets()(2);
    const std::pair<engine::Range, engine::Range> same[] = {
        {sheet.Cells(7, 2), sheet.Range("B7")},
        {app.Cells(65536, 256), sheet.Range("IV65536")},
        {sheet.Range(sheet.Cells(7, 4), sheet.Cells(6, 2)), sheet.Range("B6:D7")},
        {app.Range(sheet.Range("B2:C3"), sheet.Cells(1, 5)), sheet.Range("B1:E3")},
        {sheet.Rows(9, 7), sheet.Rows("7:9")},
        {app.Rows(65536, 65536), sheet.Rows("65536:65536")},
        {sheet.Columns(10, 5), sheet.Columns("E:J")},
        {app.Columns(1, 1), sheet.Columns("A:A")},
    };
    for (const auto& [typed, text] : same) {
        EXPECT_EQ(typed.Address(), text.Address());
        EXPECT_EQ(typed.sheet(), text.sheet());
    }
    for (const auto& [row, column] : {std::pair{0, 1}, {1, 0}, {65537, 1}, {1, 257}, {-1, -1}})
        EXPECT_THROW(sheet.Cells(row, column), EngineError) << row << ", " << column;
    EXPECT_THROW(sheet.Rows(0, 3), EngineError);
    EXPECT_THROW(sheet.Rows(1, 65537), EngineError);
    EXPECT_THROW(sheet.Columns(1, 257), EngineError);
    EXPECT_THROW(sheet.Range(sheet.Cells(1, 1), other.Cells(2, 2)), EngineError);
    EXPECT_THROW(other.Range(sheet.Cells(1, 1), sheet.Cells(2, 2)), EngineError);
}

TEST(Selection, OnlyTheActiveSheetCanSelect) {
    Application app;
    app.Workbooks().Add();
    EXPECT_THROW(app.Sheets()(2).Range("B2").Select(), EngineError);
}

TEST(Quit, EndsTheInstanceForEveryObjectTakenFromIt) {
    auto app = createApplication();
    const Workbook book = app->Workbooks().Add();
    const engine::Range cell = app->Range("B2");
    const Workbooks books = app->Workbooks();
    app->Quit();
    EXPECT_THROW(app->InchesToPoints(1), EngineError);
    EXPECT_THROW(book.ActiveSheet(), EngineError);
    EXPECT_THROW(cell.SetFormulaR1C1("1"), EngineError);
    EXPECT_THROW(books.Count(), EngineError);
    EXPECT_THROW(app->Quit(), EngineError);
}

TEST(Quit, ReleasingTheInstanceClosesItsWorkbooks) {
    auto app = createApplication();
    const Workbook book = app->Workbooks().Add();
    const Workbooks books = app->Workbooks();
    app.reset();
    EXPECT_THROW(book.Sheets(), EngineError);
    EXPECT_THROW(books.Add(), EngineError);
}

// A closed workbook's cells are freed at once while handles to them remain: every
// handle must find the workbook closed before it reaches for a sheet (the address
// sanitizer pass catches any that does not).
TEST(Close, EveryHandleKeptPastTheCloseFailsWithoutTouchingTheFreedSheets) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    app.Range("B2:C3").Select();
    app.ActiveCell().SetFormulaR1C1("=1+1");
    const Worksheet sheet = app.ActiveSheet();
    const engine::Range area = app.Range("B2:C3");
    const engine::Range used = sheet.UsedRange();
    const engine::Range selection = app.Selection();
    const Font font = area.Font();
    const Interior interior = area.Interior();
    const RangeBorder border = area.Borders(BorderEdge::Left);
    const PageSetup page = sheet.PageSetup();
    const Sheets sheets = book.Sheets();
    book.Close();
    EXPECT_THROW(sheet.Name(), EngineError);
    EXPECT_THROW(sheet.Cells().Select(), EngineError);
    EXPECT_THROW(area.Value(), EngineError);
    EXPECT_THROW(area.FormulaR1C1(), EngineError);
    EXPECT_THROW(area.SetFormulaR1C1("2"), EngineError);
    EXPECT_THROW(used.Snapshot(), EngineError);
    EXPECT_THROW(selection.Merge(), EngineError);
    EXPECT_THROW(font.SetSize(12), EngineError);
    EXPECT_THROW(interior.SetColorIndex(3), EngineError);
    EXPECT_THROW(border.SetWeight(BorderWeight::Thin), EngineError);
    EXPECT_THROW(page.SetPrintArea("A1:B2"), EngineError);
    EXPECT_THROW(sheets.Count(), EngineError);
    EXPECT_THROW(sheets(1), EngineError);
    EXPECT_THROW(book.Data(), EngineError);
    EXPECT_THROW(book.SaveAs("/tmp/never-written.xls", FileFormat::Excel8), EngineError);
}

TEST(Palette, StartsWithTheStandardColoursAndTakesNewOnes) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    EXPECT_EQ(book.Colors(1), 0u);
    EXPECT_EQ(book.Colors(2), 0xFFFFFFu);
    EXPECT_EQ(book.Colors(3), 0x0000FFu);   // red in the low byte
    EXPECT_EQ(book.Colors(10), 0x008000u);  // green
    EXPECT_EQ(book.Colors(56), 0x333333u);
    book.SetColors(10, 9600340);
    EXPECT_EQ(book.Data().palette[9], 9600340u);
    EXPECT_THROW(book.Colors(0), EngineError);
    EXPECT_THROW(book.SetColors(57, 0), EngineError);
    EXPECT_THROW(book.SetColors(1, 0x1000000), EngineError);
}

TEST(PageSetup, StoresMarginsInInchesAndTheFittedScale) {
    Application app;
    app.Workbooks().Add();
    const PageSetup page = app.ActiveSheet().PageSetup();
    page.SetPrintArea("A1:I9");
    page.SetLeftMargin(app.InchesToPoints(0.7));
    page.SetTopMargin(app.InchesToPoints(0.5));
    page.SetHeaderMargin(app.InchesToPoints(0));
    page.SetOrientation(Orientation::Landscape);
    page.SetPaperSize(PaperSize::A4);
    page.SetZoom(false);
    const PageSetupData& data = app.ActiveSheet().Data().pageSetup;
    EXPECT_EQ(data.printArea, (CellArea{0, 0, 8, 8}));
    EXPECT_DOUBLE_EQ(data.leftMargin, 0.7);
    EXPECT_DOUBLE_EQ(data.topMargin, 0.5);
    EXPECT_DOUBLE_EQ(data.headerMargin, 0);
    EXPECT_DOUBLE_EQ(page.LeftMargin(), 50.4);
    EXPECT_EQ(data.orientation, Orientation::Landscape);
    EXPECT_EQ(data.paperSize, PaperSize::A4);
    EXPECT_FALSE(data.zoom.has_value());
    EXPECT_EQ(page.PrintArea(), "$A$1:$I$9");
    EXPECT_THROW(page.SetZoom(true), EngineError);
    EXPECT_THROW(page.SetPrintArea("A1:I"), EngineError);
    EXPECT_THROW(page.SetOrientation(static_cast<Orientation>(3)), EngineError);
    EXPECT_THROW(page.SetLeftMargin(-1), EngineError);
    page.SetPrintArea("");
    EXPECT_FALSE(app.ActiveSheet().Data().pageSetup.printArea.has_value());
}

TEST(UsedRange, SpansStoredCellsOnlyAndIsA1WhenEmpty) {
    Application app;
    app.Workbooks().Add();
    EXPECT_EQ(app.ActiveSheet().UsedRange().Address(), "$A$1");
    app.Cells().Interior().SetColorIndex(2);
    app.Rows("20:20").Font().SetBold(true);
    EXPECT_EQ(app.ActiveSheet().UsedRange().Address(), "$A$1");
    app.Range("C3").Interior().SetColorIndex(10);
    app.Range("B10").SetFormulaR1C1("x");
    app.Range("E5").Font().SetSize(12);
    const engine::Range used = app.ActiveSheet().UsedRange();
    EXPECT_EQ(used.Address(), "$B$3:$E$10");
    EXPECT_EQ(used.Rows().Count(), 8);
    EXPECT_EQ(used.Rows()(used.Rows().Count()).Row(), 10);
    EXPECT_EQ(used.Columns().Count(), 4);
    EXPECT_EQ(used.Columns()(used.Columns().Count()).Column(), 5);
    EXPECT_THROW(used.Rows()(0), EngineError);
    app.Range("F1:G2").Merge();  // a merged area counts, though it stores no cell
    EXPECT_EQ(app.ActiveSheet().UsedRange().Address(), "$B$1:$G$10");
}

}  // namespace
