// Saving as .xlsx through the object model: the file is written whole, in place,
// or not at all. What readers find in it is checked by openpyxl and LibreOffice
// (tests/interop).
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/range.h"
#include "support/isolated_environment.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace engine;

namespace {

class XlsxFiles : public ::testing::Test {
protected:
    QString path(const char* name) const { return QDir(env.tempFolder()).filePath(QString::fromLatin1(name)); }
    QStringList folderEntries() const { return QDir(env.tempFolder()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot); }
    IsolatedEnvironment env;
};

// Values of every kind, including results the format has no plain cell type for.
TEST_F(XlsxFiles, SaveAsWritesAPackageInPlace) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    app.Range("B2").SetFormulaR1C1("Ann");
    app.Range("C2").SetFormulaR1C1("=2*21");
    app.Range("D2").SetFormulaR1C1("=R2C3>1");
    app.Range("E2").SetFormulaR1C1("=1/0");
    app.Range("F2").SetFormulaR1C1("=\"x\"&R2C2");
    app.Range("G2").SetFormulaR1C1("TRUE");
    app.Range("B2:C3").Merge();
    app.Range("B2").Font().SetColorIndex(1);  // black, which the library writes apart
    app.Columns("H:H").SetColumnWidth(0);
    book.SaveAs(path("book.xlsx"), FileFormat::OpenXmlWorkbook);

    EXPECT_TRUE(fileContents(path("book.xlsx")).startsWith("PK\x03\x04"));
    EXPECT_EQ(book.Name(), "book.xlsx");
    EXPECT_EQ(folderEntries(), QStringList{"book.xlsx"});  // no sibling or scratch file left
}

TEST_F(XlsxFiles, AFailedSaveLeavesEverythingAsItWas) {
    Application app;
    const Workbook book = app.Workbooks().Add();
    app.Range("B2").SetFormulaR1C1("Ann");

    // A path below a plain file cannot be written.
    ASSERT_TRUE(writeFileContents(path("not-a-folder"), "plain file"));
    EXPECT_THROW(book.SaveAs(path("not-a-folder") + "/book.xlsx", FileFormat::OpenXmlWorkbook), EngineError);

    // A text XML cannot carry, and a format the library would cut short, are
    // refused before the old file is touched.
    ASSERT_TRUE(writeFileContents(path("old.xlsx"), "the user's own file"));
    app.Range("B3").SetFormulaR1C1(QStringLiteral("Ann") + QChar(0xFFFE));
    EXPECT_THROW(book.SaveAs(path("old.xlsx"), FileFormat::OpenXmlWorkbook), EngineError);
    app.Range("B3").SetFormulaR1C1("Bob");
    app.Range("B2").SetNumberFormat(QString(130, QChar('0')));
    EXPECT_THROW(book.SaveAs(path("old.xlsx"), FileFormat::OpenXmlWorkbook), EngineError);
    EXPECT_EQ(fileContents(path("old.xlsx")), "the user's own file");
    EXPECT_EQ(fileContents(path("not-a-folder")), "plain file");
    EXPECT_EQ(folderEntries(), (QStringList{"not-a-folder", "old.xlsx"}));
}

}  // namespace
