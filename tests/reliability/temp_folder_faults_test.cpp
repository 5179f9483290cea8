// The generation run when the temporary folder fails it: missing, a file standing
// where the folder should be, a full disk, a folder shared with other users. The run reports what failed and goes on; the
// records stay in the main window, Back returns to it, and closing stores the
// list unchanged; the files holding the figures are never readable by others.
#include "file_faults.h"
#include "gtest_printers.h"
#include "generator/engine_session.h"
#include "generator/generation_run.h"
#include "preview/preview_window.h"
#include "records/main_window_harness.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using faults::readFile;
using faults::writeFile;

class TempFolderFaults : public ::testing::Test {
protected:
    void SetUp() override {
        records::MainWindow& f = h.start();
        f.loadSampleData();  // the three sample rows
        h.set(f.nameEdit(), QStringLiteral("Émilie \"the closer\" O'Neil"));
        h.set(f.totalEdit(), QStringLiteral("1234.56"));
        f.addRecord();
        rowsBefore = h.rows();
        ASSERT_EQ(rowsBefore.size(), 4);
        h.duringGeneration = [this] { run.run(*h.window, *h.window, previewWindow); };
    }

    void pointTempAt(const QString& folder) { qputenv("TEMP", QFile::encodeName(folder)); }

    // Start Creating Template, then what the user can do next: Back, close.
    void runThenBackThenClose() {
        h.window->startCreatingTemplate();
        EXPECT_EQ(h.generations, 1);
        EXPECT_EQ(h.rows(), rowsBefore);
        previewWindow.goBack();
        EXPECT_TRUE(h.window->isVisible());
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

    MainWindowHarness h;
    generator::EngineSession engine;
    generator::GenerationRun run{engine, h.dialogs, 20240301};
    preview::PreviewWindow previewWindow{h.context(),
                                         preview::PreviewWindowServices{[this] { h.window->show(); }, [] { return true; }, [] {}}};
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
}

TEST_F(TempFolderFaults, FullDiskReportsTheSaveAndBackLeavesNoWorkbookBehind) {
    {
        faults::DiskFull full(2048);
        ASSERT_TRUE(full.active());
        h.window->startCreatingTemplate();
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
    previewWindow.saveResults();
    const QByteArray saved = readFile(target);
    EXPECT_TRUE(saved == faults::workbookBytes('u') || saved.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        << "the user's file was replaced by " << saved.size() << " bytes that are no workbook";

    previewWindow.goBack();
    EXPECT_TRUE(faults::entriesOf(h.env.tempFolder()).isEmpty())
        << faults::entriesOf(h.env.tempFolder()).join(",").toStdString();
    h.closeWindow();
    h.start();
    EXPECT_EQ(h.rows(), rowsBefore);
}

// TEMP naming a folder every user can enter, and a umask that would let them read
// every new file: the temporary workbook, the run's only file there, stays
// owner-only.
TEST_F(TempFolderFaults, FilesHoldingTheFiguresAreOwnerOnlyInASharedFolder) {
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    pointTempAt(shared.path());
    const mode_t umaskBefore = ::umask(0);
    h.window->startCreatingTemplate();
    ::umask(umaskBefore);

    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
    ASSERT_TRUE(QFileInfo(previewWindow.workbookPath()).isFile());
    EXPECT_EQ(faults::entriesOf(shared.path()), QStringList{QFileInfo(previewWindow.workbookPath()).fileName()});
    EXPECT_EQ(faults::modeOf(previewWindow.workbookPath()), mode_t(0600));
    previewWindow.goBack();
}

}  // namespace

// Every name the run can draw is taken: the folder's fault is reported at the
// save, and none of the files standing there is touched.
TEST_F(TempFolderFaults, EveryTemporaryNameTakenIsReportedAndOverwritesNothing) {
    generator::NameDigits sameDraws(20240301);
    QStringList taken;
    for (int name = 0; name < 1000; ++name) {
        QString file = QStringLiteral("rendle");
        for (int digit = 0; digit < 8; ++digit) file += QString::number(sameDraws.draw());
        const QString path = QDir(h.env.tempFolder()).filePath(file + QStringLiteral(".xls"));
        if (!QFileInfo::exists(path)) {
            ASSERT_TRUE(writeFile(path, "the user's own " + file.toUtf8()));
        }
        taken << path;
    }
    runThenBackThenClose();
    const QStringList errors = runErrors();
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.first().contains("at line 158")) << errors.first().toStdString();
    EXPECT_TRUE(errors.first().contains(QStringLiteral("No free name for the temporary workbook in the folder ") +
                                        QDir::toNativeSeparators(h.env.tempFolder())))
        << errors.first().toStdString();
    for (const QString& path : taken)
        EXPECT_EQ(readFile(path), "the user's own " + QFileInfo(path).completeBaseName().toUtf8()) << path.toStdString();
}
