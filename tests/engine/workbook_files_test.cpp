// Saving through the object model and opening the file again.
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace engine;

namespace {

class WorkbookFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return QDir(env.tempFolder()).filePath(QString::fromLatin1(name)); }
    IsolatedEnvironment env;
};

TEST_F(WorkbookFiles, SaveAsTakesItsFormatsOnly) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    EXPECT_THROW(book.SaveAs(path("a.xlsx"), static_cast<FileFormat>(51)), EngineError);
    EXPECT_FALSE(QFile::exists(path("a.xlsx")));
    book.SaveAs(path("new.xls"), FileFormat::Excel8);
    EXPECT_EQ(book.Name(), "new.xls");
    EXPECT_EQ(book.FullName(), QFileInfo(path("new.xls")).absoluteFilePath());
}

// A save that does not wait for the disk writes the same file, as atomically.
TEST_F(WorkbookFiles, SavesWithoutWaitingForTheDiskWriteTheSameFile) {
    Application app;
    EXPECT_TRUE(app.DurableSaves());
    const Workbook book = app.Workbooks().Add();
    app.Range("B2").SetFormulaR1C1("Ann");
    app.Range("C2").SetFormulaR1C1("=2*21");
    book.SaveAs(path("synced.xls"), FileFormat::Excel8);
    app.SetDurableSaves(false);
    EXPECT_FALSE(app.DurableSaves());
    book.SaveAs(path("unsynced.xls"), FileFormat::Excel8);
    QFile synced(path("synced.xls")), unsynced(path("unsynced.xls"));
    ASSERT_TRUE(synced.open(QIODevice::ReadOnly));
    ASSERT_TRUE(unsynced.open(QIODevice::ReadOnly));
    EXPECT_EQ(synced.readAll(), unsynced.readAll());
    EXPECT_EQ(QDir(env.tempFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no sibling left behind
    app.Quit();
    EXPECT_THROW(app.DurableSaves(), EngineError);
}

// Nothing reads a formula's value before the save: the save itself brings every
// result up to date, so the file carries them.
TEST_F(WorkbookFiles, SavedFormulasCarryCurrentResults) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    app.Range("B4").SetFormulaR1C1("10%");
    app.Range("C7").SetFormulaR1C1("5600");
    app.Range("D7").SetFormulaR1C1("=RC[-1]*R[-3]C[-2]");
    app.Range("B1:D1").Merge();
    app.Range("D7").SetNumberFormat("$#,##0.00");
    app.Range("D7").Interior().SetColorIndex(35);
    app.Columns("B:B").SetColumnWidth(28);
    book.SetColors(35, 16706794);
    book.SaveAs(path("book.xls"), FileFormat::Excel8);
    EXPECT_TRUE(app.ActiveSheet().Data().cell(6, 3)->resultValid);
    book.Close();

    Application viewer;
    const Workbook opened = viewer.Workbooks().Open(path("book.xls"));
    EXPECT_EQ(viewer.Workbooks().Count(), 1);
    EXPECT_EQ(viewer.ActiveWorkbook().Name(), "book.xls");
    const SheetData& sheet = opened.ActiveSheet().Data();
    const Cell* d7 = sheet.cell(6, 3);
    ASSERT_NE(d7, nullptr);
    EXPECT_EQ(d7->value, CellValue(560.0));  // the result stored in the file
    EXPECT_EQ(viewer.Range("D7").Formula(), "=C7*B4");
    EXPECT_EQ(viewer.Range("D7").NumberFormat(), "$#,##0.00");
    EXPECT_EQ(viewer.Range("D7").Interior().ColorIndex(), 35);
    EXPECT_EQ(viewer.Range("B1").ColumnWidth(), 28);
    EXPECT_EQ(opened.Colors(35), 16706794u);
    ASSERT_EQ(sheet.merges.size(), 1u);
    EXPECT_EQ(viewer.ActiveSheet().UsedRange().Address(), "$B$1:$D$7");
    // The opened workbook works like any other.
    viewer.Range("C7").SetFormulaR1C1("100");
    EXPECT_EQ(viewer.Range("D7").Value(), CellValue(10.0));
}

TEST_F(WorkbookFiles, OpenIsLastAndActive) {
    Application app;
    app.Workbooks().Add().SaveAs(path("one.xls"), FileFormat::Excel8);
    app.Workbooks().Add();
    app.Workbooks().Open(path("one.xls"));
    EXPECT_EQ(app.Workbooks().Count(), 3);
    EXPECT_EQ(app.Workbooks()(3).Name(), "one.xls");
    EXPECT_EQ(app.ActiveWorkbook().Name(), "one.xls");
}

TEST_F(WorkbookFiles, OpeningWhatIsNoWorkbookFailsAndChangesNothing) {
    QFile junk(path("junk.xls"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a workbook");
    junk.close();
    Application app;
    EXPECT_THROW(app.Workbooks().Open(path("junk.xls")), EngineError);
    EXPECT_THROW(app.Workbooks().Open(path("missing.xls")), EngineError);
    EXPECT_EQ(app.Workbooks().Count(), 0);
}

}  // namespace
