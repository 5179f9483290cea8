// The generation run when the temporary folder fails it: missing, a file standing
// where the folder should be, a full disk, the snapshot name taken by a folder,
// a folder shared with other users. The run reports what failed and goes on; the
// records stay in the main window, Back returns to it, and closing stores the
// list unchanged; the files holding the figures are never readable by others.
#include "file_faults.h"
#include "gtest_printers.h"
#include "generator/generation_run.h"
#include "preview/form2.h"
#include "generator/snapshot_file.h"
#include "records/form1_harness.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using faults::readFile;
using faults::writeFile;

class TempFolderFaults : public ::testing::Test {
protected:
    void SetUp() override {
        generator::SeedTemporaryNames(20240301);
        records::Form1& f = h.start();
        f.PushButton6_Click();  // the three sample rows
        h.set(f.txtSaleperson(), QStringLiteral("Émilie \"the closer\" O'Neil"));
        h.set(f.txtTotalSalesAmount(), QStringLiteral("1234.56"));
        f.PushButton4_Click();
        rowsBefore = h.rows();
        ASSERT_EQ(rowsBefore.size(), 4);
        h.duringGeneration = [this] { generator::GenerateReport0(*h.form, *h.form, form2); };
    }

    void pointTempAt(const QString& folder) { qputenv("TEMP", QFile::encodeName(folder)); }

    // Start Creating Template, then what the user can do next: Back, close.
    void runThenBackThenClose() {
        h.form->PushButton1_Click();
        EXPECT_EQ(h.generations, 1);
        EXPECT_EQ(h.rows(), rowsBefore);
        form2.PushButton8_Click();
        EXPECT_TRUE(h.form->isVisible());
        EXPECT_EQ(h.rows(), rowsBefore);
        h.closeWindow();
        h.start();
        EXPECT_EQ(h.rows(), rowsBefore);
    }

    QStringList runErrors() const {
        QStringList out;
        for (const QString& head : h.errorHeads())
            if (head.contains(shell::errorLocationText(shell::ErrorLocation::GenerationRun))) out << head;
        return out;
    }

    Form1Harness h;
    preview::Form2 form2{preview::Form2Services{[this] { h.form->show(); }, [] {}, [] {}}};
    Rows rowsBefore;
};

TEST_F(TempFolderFaults, MissingFolderIsReportedAtTheSaveAndNothingIsCreated) {
    QTemporaryDir parent;
    const QString missing = parent.filePath("gone");
    pointTempAt(missing);
    runThenBackThenClose();
    const QStringList errors = runErrors();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.first().contains("at line 158")) << errors.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(faults::entriesOf(parent.path()).isEmpty());
}

TEST_F(TempFolderFaults, FileStandingWhereTheFolderShouldBeIsLeftAlone) {
    QTemporaryDir parent;
    const QString file = parent.filePath("temp");
    ASSERT_TRUE(writeFile(file, "a file, not a folder"));
    pointTempAt(file);
    runThenBackThenClose();
    EXPECT_FALSE(runErrors().isEmpty());
    EXPECT_EQ(readFile(file), QByteArray("a file, not a folder"));
    EXPECT_EQ(faults::entriesOf(parent.path()), QStringList{"temp"});
}

TEST_F(TempFolderFaults, ReadOnlyFolderIsReportedAtTheSave) {
    // /proc cannot be written even by root.
    pointTempAt(QStringLiteral("/proc"));
    runThenBackThenClose();
    const QStringList errors = runErrors();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.first().contains("at line 158")) << errors.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/temp.bmp")));
}

TEST_F(TempFolderFaults, FullDiskReportsTheSaveAndBackLeavesNoWorkbookBehind) {
    {
        faults::DiskFull full(2048);
        ASSERT_TRUE(full.active());
        h.form->PushButton1_Click();
    }
    const QStringList errors = runErrors();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.first().contains("at line 158")) << errors.join(" | ").toStdString();
    EXPECT_EQ(h.rows(), rowsBefore);

    // Saving what the run could not write gives an error, never a damaged copy
    // presented as done, and an existing file keeps its content.
    QTemporaryDir user;
    const QString target = user.filePath("commission.xls");
    ASSERT_TRUE(writeFile(target, faults::workbookBytes('u')));
    h.dialogs.fileNames.push_back(target);
    h.dialogs.answers.push_back(shell::BoxAnswer::Yes);
    form2.PushButton6_Click();
    const QByteArray saved = readFile(target);
    EXPECT_TRUE(saved == faults::workbookBytes('u') || saved.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        << "the user's file was replaced by " << saved.size() << " bytes that are no workbook";

    form2.PushButton8_Click();
    EXPECT_TRUE(faults::entriesOf(h.env.tempFolder()).isEmpty())
        << faults::entriesOf(h.env.tempFolder()).join(",").toStdString();
    h.closeWindow();
    h.start();
    EXPECT_EQ(h.rows(), rowsBefore);
}

TEST_F(TempFolderFaults, SnapshotNameTakenByAFolderStillSavesTheWorkbook) {
    const QString snapshot = QDir(h.env.tempFolder()).filePath("temp.bmp");
    ASSERT_TRUE(QDir().mkpath(snapshot));
    ASSERT_TRUE(writeFile(snapshot + "/keep.txt", "mine"));
    h.form->PushButton1_Click();
    EXPECT_FALSE(h.dialogs.errorTexts().isEmpty());
    EXPECT_EQ(readFile(snapshot + "/keep.txt"), QByteArray("mine"));
    EXPECT_TRUE(form2.isVisible());

    // The workbook itself was written: saving it gives a real copy.
    QTemporaryDir user;
    h.dialogs.clear();
    h.dialogs.fileNames.push_back(user.filePath("commission.xls"));
    form2.PushButton6_Click();
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
    EXPECT_EQ(readFile(user.filePath("commission.xls")), readFile(form2.mExcelFile()));
    EXPECT_TRUE(readFile(user.filePath("commission.xls")).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
    form2.PushButton8_Click();
    EXPECT_FALSE(QFileInfo::exists(form2.mExcelFile()));
}

// TEMP naming a folder every user can enter, and a umask that would let them read
// every new file: the temporary workbook and the snapshot stay owner-only.
TEST_F(TempFolderFaults, FilesHoldingTheFiguresAreOwnerOnlyInASharedFolder) {
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    pointTempAt(shared.path());
    const mode_t umaskBefore = ::umask(0);
    h.form->PushButton1_Click();
    const QString snapshot = QDir(shared.path()).filePath("temp.bmp");
    ASSERT_TRUE(writeFile(snapshot, "stale picture"));  // left open to all by an older run
    ASSERT_EQ(::chmod(QFile::encodeName(snapshot).constData(), 0666), 0);
    generator::SavePicture(QImage(8, 8, QImage::Format_RGB32), snapshot);
    ::umask(umaskBefore);

    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
    ASSERT_TRUE(QFileInfo(form2.mExcelFile()).isFile());
    EXPECT_EQ(faults::modeOf(form2.mExcelFile()), mode_t(0600));
    EXPECT_EQ(faults::modeOf(snapshot), mode_t(0600));
    form2.PushButton8_Click();
}

}  // namespace
