// Saving the generated workbook where the file system works against it: the
// target is a folder, a link, read-only, in a missing folder, on a full disk, or
// the temporary workbook has gone or changed since the run. Each gives a clear
// error box and leaves every existing file as it was.
#include "file_faults.h"
#include "gtest_printers.h"
#include "preview/preview_window.h"
#include "shell/error_locations.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using faults::readFile;
using faults::workbookBytes;
using faults::writeFile;

class SaveTargetFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeFile(workbook, workbookBytes('w')));
        previewWindow.setWorkbookPath(workbook);
    }

    // Runs "Save Results To Excel File" choosing path, answering the overwrite
    // question with `answer` if it is asked.
    void saveAs(const QString& path, shell::BoxAnswer answer = shell::BoxAnswer::Yes) {
        dialogs.fileNames.push_back(path);
        dialogs.answers.push_back(answer);
        previewWindow.saveResults();
    }

    QStringList errors() const { return dialogs.errorTexts(); }
    bool saidDone() const {
        for (const auto& box : dialogs.boxes)
            if (box.text == QStringLiteral("Done.")) return true;
        return false;
    }
    // One error box, reported by the save command at its copy statement.
    void expectOneCopyError(const QString& mentioning) const {
        ASSERT_EQ(errors().size(), 1) << errors().join(" | ").toStdString();
        const QString text = errors().first();
        EXPECT_TRUE(text.contains(shell::errorLocationText(shell::ErrorLocation::SaveResults) + QStringLiteral("at line 130")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(mentioning)) << text.toStdString();
    }

    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    QTemporaryDir user;  // the user's own folder of documents
    QString workbook = QDir(env.tempFolder()).filePath("rendle12345678.xls");
    preview::PreviewWindow previewWindow{preview::PreviewWindowServices{[] {}, [] {}, [] {}}};
};

TEST_F(SaveTargetFaults, TargetInMissingFolderIsReportedAndCreatesNothing) {
    const QString target = user.filePath("no such folder/commission.xls");
    saveAs(target);
    expectOneCopyError(QStringLiteral("does not exist"));
    EXPECT_FALSE(QFileInfo::exists(user.filePath("no such folder")));
    EXPECT_EQ(readFile(workbook), workbookBytes('w'));  // the temporary workbook stays
}

TEST_F(SaveTargetFaults, TargetUnderAFileStandingWhereTheFolderShouldBe) {
    ASSERT_TRUE(writeFile(user.filePath("reports"), "not a folder"));
    saveAs(user.filePath("reports/commission.xls"));
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(readFile(user.filePath("reports")), QByteArray("not a folder"));
    EXPECT_EQ(faults::entriesOf(user.path()), QStringList{"reports"});
}

TEST_F(SaveTargetFaults, TargetThatIsAFolderKeepsTheFolderAndItsFiles) {
    ASSERT_TRUE(QDir(user.path()).mkpath("commission.xls"));
    ASSERT_TRUE(writeFile(user.filePath("commission.xls/inside.txt"), "keep me"));
    saveAs(user.filePath("commission.xls"));
    expectOneCopyError(QStringLiteral("folder"));
    EXPECT_TRUE(QFileInfo(user.filePath("commission.xls")).isDir());
    EXPECT_EQ(readFile(user.filePath("commission.xls/inside.txt")), QByteArray("keep me"));
    EXPECT_EQ(faults::entriesOf(user.path()), QStringList{"commission.xls"});
}

TEST_F(SaveTargetFaults, ReadOnlyTargetIsReportedAndLeftAlone) {
    // /proc is read-only even for root: the existing file can be neither
    // replaced nor deleted, and no sibling can be created beside it.
    const QString target = QStringLiteral("/proc/version");
    const QByteArray before = readFile(target);
    ASSERT_FALSE(before.isEmpty());
    saveAs(target, shell::BoxAnswer::Yes);
    ASSERT_EQ(dialogs.boxes.front().text, QStringLiteral("Are you sure you wish to overwrite /proc/version ?"));
    expectOneCopyError(target);
    EXPECT_EQ(readFile(target), before);
}

TEST_F(SaveTargetFaults, NewFileInReadOnlyFolderIsReported) {
    saveAs(QStringLiteral("/proc/commission.xls"));
    expectOneCopyError(QStringLiteral("/proc/commission.xls"));
    EXPECT_FALSE(QFileInfo::exists("/proc/commission.xls"));
}

TEST_F(SaveTargetFaults, LinkToAnotherFileIsReplacedNotFollowed) {
    const QString other = user.filePath("other.xls");
    ASSERT_TRUE(writeFile(other, workbookBytes('o')));
    const QString link = user.filePath("commission.xls");
    ASSERT_TRUE(QFile::link(other, link));

    saveAs(link, shell::BoxAnswer::Yes);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(" | ").toStdString();
    EXPECT_TRUE(saidDone());
    EXPECT_EQ(readFile(other), workbookBytes('o'));  // the file the link named is untouched
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(link), workbookBytes('w'));
}

TEST_F(SaveTargetFaults, DeclinedOverwriteThroughALinkChangesNothing) {
    const QString other = user.filePath("other.xls");
    ASSERT_TRUE(writeFile(other, workbookBytes('o')));
    const QString link = user.filePath("commission.xls");
    ASSERT_TRUE(QFile::link(other, link));
    saveAs(link, shell::BoxAnswer::No);
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(other), workbookBytes('o'));
}

TEST_F(SaveTargetFaults, DanglingLinkIsReplacedAndItsTargetNotCreated) {
    const QString link = user.filePath("commission.xls");
    const QString nowhere = user.filePath("elsewhere/missing.xls");
    ASSERT_TRUE(QFile::link(nowhere, link));
    saveAs(link);
    EXPECT_TRUE(errors().isEmpty()) << errors().join(" | ").toStdString();
    EXPECT_EQ(readFile(link), workbookBytes('w'));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_F(SaveTargetFaults, PathWithANulCharacterWritesNoOtherFile) {
    const QString target = user.filePath(QStringLiteral("commission") + QChar(0) + QStringLiteral(".xls"));
    saveAs(target);
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(faults::entriesOf(user.path()).isEmpty()) << faults::entriesOf(user.path()).join(",").toStdString();
}

TEST_F(SaveTargetFaults, FullDiskKeepsTheExistingFileWholeAndLeavesNoPart) {
    const QString target = user.filePath("commission.xls");
    ASSERT_TRUE(writeFile(target, workbookBytes('u', 3000)));
    {
        faults::DiskFull full(4096);
        ASSERT_TRUE(full.active());
        saveAs(target, shell::BoxAnswer::Yes);
    }
    expectOneCopyError(target);
    EXPECT_EQ(readFile(target), workbookBytes('u', 3000));
    EXPECT_EQ(faults::entriesOf(user.path()), QStringList{"commission.xls"});
}

TEST_F(SaveTargetFaults, WorkbookDeletedSinceTheRunKeepsTheExistingFile) {
    const QString target = user.filePath("commission.xls");
    ASSERT_TRUE(writeFile(target, workbookBytes('u')));
    ASSERT_TRUE(QFile::remove(workbook));
    saveAs(target, shell::BoxAnswer::Yes);
    expectOneCopyError(workbook);
    EXPECT_EQ(readFile(target), workbookBytes('u'));
    EXPECT_EQ(faults::entriesOf(user.path()), QStringList{"commission.xls"});
}

TEST_F(SaveTargetFaults, WorkbookReplacedByAFolderIsReportedAndNothingWritten) {
    ASSERT_TRUE(QFile::remove(workbook));
    ASSERT_TRUE(QDir().mkpath(workbook));
    saveAs(user.filePath("commission.xls"));
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(faults::entriesOf(user.path()).isEmpty());
    previewWindow.goBack();  // Back: the quiet deletion leaves the folder, quietly
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(QFileInfo(workbook).isDir());
}

}  // namespace
