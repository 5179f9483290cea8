// Saving the generated workbook where the file system works against it: the
// target is a folder, a link, read-only, in a missing folder, on a full disk, or
// the temporary workbook has gone or changed since the run. Each gives a clear
// error box and leaves every existing file as it was. A save that works keeps
// who may read the file, and goes through a link to the file it names.
#include "file_faults.h"
#include "gtest_printers.h"
#include "preview/preview_window.h"
#include "shell/error_locations.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

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
    preview::PreviewWindow previewWindow{shell::ProgramContext(dialogs),
                                         preview::PreviewWindowServices{[] {}, [] { return true; }, [] {}}};
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

// A link the user saves through: the file it leads to is replaced in its own
// folder (no part of a copy is left in either folder) and the link stays.
TEST_F(SaveTargetFaults, LinkAtTheTargetIsFollowedAndKept) {
    struct Case {
        const char* what;
        QString linkTarget;  // as written in the link
        QString reached;     // the file the save writes
        bool existing;       // whether that file is there before
    };
    QTemporaryDir synced;  // a synced folder that keeps the real workbook
    const std::vector<Case> cases = {
        {"to a file in another folder", synced.filePath("commission.xls"), synced.filePath("commission.xls"), true},
        {"relative, to a file beside it", "kept.xls", user.filePath("kept.xls"), true},
        {"through a second link", user.filePath("hop.xls"), synced.filePath("commission.xls"), true},
        {"dangling, into an existing folder", synced.filePath("new.xls"), synced.filePath("new.xls"), false},
    };
    ASSERT_TRUE(QFile::link(synced.filePath("commission.xls"), user.filePath("hop.xls")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(c.reached);
        if (c.existing) {
            ASSERT_TRUE(writeFile(c.reached, workbookBytes('o')));
        }
        const QString link = user.filePath("linked.xls");
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(c.linkTarget, link));
        const QString pointsTo = QFileInfo(link).symLinkTarget();
        dialogs.clear();

        saveAs(link, shell::BoxAnswer::Yes);
        EXPECT_TRUE(errors().isEmpty()) << errors().join(" | ").toStdString();
        EXPECT_TRUE(saidDone());
        EXPECT_EQ(readFile(c.reached), workbookBytes('w'));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), pointsTo);
    }
    EXPECT_EQ(faults::entriesOf(synced.path()), (QStringList{"commission.xls", "new.xls"}));
    EXPECT_EQ(faults::entriesOf(user.path()), (QStringList{"hop.xls", "kept.xls", "linked.xls"}));
}

// A link the save cannot go through is reported and nothing is written anywhere.
TEST_F(SaveTargetFaults, LinkThatLeadsNowhereWritableIsReported) {
    struct Case {
        const char* what;
        QString linkTarget;
        QString mentioning;
    };
    ASSERT_TRUE(QDir(user.path()).mkpath("folder"));
    ASSERT_TRUE(writeFile(user.filePath("folder/inside.xls"), "keep me"));
    const std::vector<Case> cases = {
        {"dangling, into a missing folder", user.filePath("elsewhere/missing.xls"), "whose folder does not exist"},
        {"to a folder", user.filePath("folder"), "link to the folder"},
        {"to itself", user.filePath("linked.xls"), "circle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString link = user.filePath("linked.xls");
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(c.linkTarget, link));
        dialogs.clear();

        saveAs(link, shell::BoxAnswer::Yes);
        expectOneCopyError(c.mentioning);
        EXPECT_FALSE(saidDone());
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(faults::entriesOf(user.path()), (QStringList{"folder", "linked.xls"}));
        EXPECT_EQ(faults::entriesOf(user.filePath("folder")), QStringList{"inside.xls"});
        EXPECT_EQ(readFile(user.filePath("folder/inside.xls")), QByteArray("keep me"));
    }
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

// Who may read the saved workbook: a replaced file keeps its permission bits and
// group; a new file gets the usual mode under the user's umask.
TEST_F(SaveTargetFaults, ModeOfTheSavedWorkbook) {
    struct Case {
        const char* what;
        std::optional<mode_t> before;  // none: no file yet
        mode_t umask;
        mode_t after;
    };
    const std::vector<Case> cases = {
        {"owner-only file keeps 0600", 0600, 022, 0600},
        {"group-readable file keeps 0640", 0640, 022, 0640},
        {"read-only file keeps 0444", 0444, 022, 0444},
        {"new file under umask 022 gets 0644", std::nullopt, 022, 0644},
        {"new file under umask 077 gets 0600", std::nullopt, 077, 0600},
    };
    const QString target = user.filePath("commission.xls");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(target);
        if (c.before) {
            ASSERT_TRUE(writeFile(target, workbookBytes('u')));
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), *c.before), 0);
        }
        dialogs.clear();
        const mode_t umaskBefore = ::umask(c.umask);
        saveAs(target, shell::BoxAnswer::Yes);
        ::umask(umaskBefore);
        EXPECT_TRUE(errors().isEmpty()) << errors().join(" | ").toStdString();
        EXPECT_EQ(readFile(target), workbookBytes('w'));
        EXPECT_EQ(faults::modeOf(target), c.after);
    }
}

TEST_F(SaveTargetFaults, GroupOfAReplacedWorkbookIsKept) {
    // A group the user may give a file: any for the superuser, else one of the user's own.
    const std::optional<gid_t> group = faults::otherGroupOfUser();
    if (!group) GTEST_SKIP() << "the user belongs to no second group";
    const QString target = user.filePath("commission.xls");
    ASSERT_TRUE(writeFile(target, workbookBytes('u')));
    ASSERT_EQ(::chown(QFile::encodeName(target).constData(), static_cast<uid_t>(-1), *group), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    saveAs(target, shell::BoxAnswer::Yes);
    EXPECT_EQ(faults::groupOf(target), *group);
    EXPECT_EQ(faults::modeOf(target), mode_t(0640));
}

// The mode of the file a link leads to is kept as well.
TEST_F(SaveTargetFaults, ModeOfAFileReachedThroughALinkIsKept) {
    const QString real = user.filePath("real.xls");
    ASSERT_TRUE(writeFile(real, workbookBytes('o')));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(real, user.filePath("linked.xls")));
    saveAs(user.filePath("linked.xls"), shell::BoxAnswer::Yes);
    EXPECT_EQ(readFile(real), workbookBytes('w'));
    EXPECT_EQ(faults::modeOf(real), mode_t(0600));
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
    EXPECT_TRUE(errors().first().contains(faults::fullDiskReason())) << errors().first().toStdString();
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
