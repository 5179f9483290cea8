// The generation run over records whose texts look like something else to a
// spreadsheet: names that read as formulas, errors, logical values, numbers,
// percentages or dates, and totals that are no numbers (the saved list loads
// amounts unchecked). The layout is complete, a name is never taken for a
// formula, and the records are untouched.
#include "file_faults.h"
#include "gtest_printers.h"
#include "generator/engine/model/sheet.h"
#include "generator/engine/xls/xls_reader.h"
#include "generator/generation_run.h"
#include "preview/form2.h"
#include "records/form1_harness.h"

#include <gtest/gtest.h>

namespace {

using records::CommissionRecord;

// Rows of the commission sheet: record i (1-based) stands in row i + 6, name in B,
// total in C.
constexpr int kFirstRecordRow = 7;

class HostileRecordsRun : public ::testing::Test {
protected:
    void SetUp() override {
        generator::SeedTemporaryNames(77);
        h.duringGeneration = [this] { generator::GenerateReport0(*h.form, *h.form, form2); };
    }

    engine::WorkbookData runAndRead() {
        h.form->PushButton1_Click();
        EXPECT_TRUE(QFileInfo(form2.mExcelFile()).isFile()) << form2.mExcelFile().toStdString();
        return engine::xls::readWorkbook(form2.mExcelFile());
    }

    static QString textAt(const engine::SheetData& sheet, int row, int col) {
        const engine::Cell* cell = sheet.cell(row - 1, col - 1);
        if (!cell) return QStringLiteral("<empty>");
        if (const QString* text = std::get_if<QString>(&cell->value)) return *text;
        return QStringLiteral("<not text>");
    }

    Form1Harness h;
    preview::Form2 form2{preview::Form2Services{[this] { h.form->show(); }, [] {}, [] {}}};
};

TEST_F(HostileRecordsRun, NamesThatReadAsFormulasDoNotStopTheLayout) {
    // A name is written into its cell as if typed. One that starts with "=" is no
    // formula the user meant: it must not end the layout (losing every row after
    // it, the totals and the page setup) and is shown as typed. Names that read as
    // other values take that value's form, as typing them would.
    const QStringList names = {
        "=SUM(A1:A3)*2", "Plain", "=1/0", "=", "=(", "#DIV/0!", "TRUE", "1e5", "10%", "2024-03-01", "'quoted", "$5,600",
    };
    QString value;
    for (int i = 0; i < names.size(); ++i)
        value += names[i] + "||SEP1||" + QString::number(1000 * (i + 1)) + "||SEP1||" + QString::number(100 * (i + 1)) +
                 "||SEP2||";
    h.store(shell::kKeyCommissionList, value);
    h.start();
    const Rows before = h.rows();
    ASSERT_EQ(before.size(), names.size());

    const engine::WorkbookData book = runAndRead();
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
    ASSERT_EQ(book.sheets.size(), 1u);
    const engine::SheetData& sheet = *book.sheets.front();
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_NE(sheet.cell(kFirstRecordRow + i - 1, 1), nullptr) << "no cell for record " << i + 1;
        if (names[i].startsWith('=')) EXPECT_EQ(textAt(sheet, kFirstRecordRow + i, 2), names[i]) << "record " << i + 1;
    }
    EXPECT_EQ(textAt(sheet, kFirstRecordRow + 1, 2), QStringLiteral("Plain"));
    // The layout went on to the totals row under the last record.
    EXPECT_EQ(textAt(sheet, kFirstRecordRow + int(names.size()), 2), QStringLiteral("Totals"));

    form2.PushButton8_Click();
    EXPECT_EQ(h.rows(), before);
}

TEST_F(HostileRecordsRun, StoredTotalsThatAreNoNumbersStillGiveAWorkbook) {
    h.store(shell::kKeyCommissionList,
            "A||SEP1||abc||SEP1||x||SEP2||B||SEP1||||SEP1||||SEP2||C||SEP1||1e308||SEP1||||SEP2||"
            "D||SEP1||1e308||SEP1||||SEP2||E||SEP1||=1/0||SEP1||||SEP2||F||SEP1||=SUM(||SEP1||||SEP2||");
    h.store(shell::kKeyCommissionRate, "1e308");
    h.start();
    const Rows before = h.rows();
    const engine::WorkbookData book = runAndRead();
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(textAt(*book.sheets.front(), kFirstRecordRow + 6, 2), QStringLiteral("Totals"));
    for (const QString& error : h.dialogs.errorTexts())
        EXPECT_FALSE(error.contains("at line 124")) << "the layout stopped: " << error.toStdString();
    EXPECT_TRUE(QFileInfo(form2.mExcelFile()).size() > 0);
    form2.PushButton8_Click();
    EXPECT_EQ(h.rows(), before);
}

}  // namespace
