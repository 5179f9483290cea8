#include "shell/failure.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString makeFile(const QString& path, const QByteArray& content = "data") {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(content);
    return path;
}

bool runningAsRoot() { return ::geteuid() == 0; }

}  // namespace

TEST(FileExists, TrueOnlyForFiles) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    const QString file = makeFile(dir.filePath("a.txt"));
    ASSERT_FALSE(file.isEmpty());

    EXPECT_TRUE(shell::fileExists(file));
    EXPECT_FALSE(shell::fileExists(QString()));
    EXPECT_FALSE(shell::fileExists(dir.filePath("missing.txt")));
    EXPECT_FALSE(shell::fileExists(dir.filePath("no/such/folder/a.txt")));
    EXPECT_FALSE(shell::fileExists(dir.path()));  // a folder does not count
    EXPECT_FALSE(shell::fileExists(file + QChar(0) + QStringLiteral("x")));

    ASSERT_TRUE(QFile::link(file, dir.filePath("link.txt")));
    EXPECT_TRUE(shell::fileExists(dir.filePath("link.txt")));
    ASSERT_TRUE(QFile::link(dir.filePath("gone.txt"), dir.filePath("broken.txt")));
    EXPECT_FALSE(shell::fileExists(dir.filePath("broken.txt")));
}

TEST(DeleteFileQuiet, RemovesFilesReadOnlyIncluded) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    const QString plain = makeFile(dir.filePath("plain.xls"));
    const QString readOnly = makeFile(dir.filePath("readonly.xls"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser));

    shell::deleteFileQuietly(plain);
    shell::deleteFileQuietly(readOnly);
    EXPECT_FALSE(QFile::exists(plain));
    EXPECT_FALSE(QFile::exists(readOnly));
}

TEST(DeleteFileQuiet, EndsQuietlyOnWhatItCannotDelete) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    makeFile(dir.filePath("folder/inside.txt"));

    EXPECT_NO_THROW(shell::deleteFileQuietly(dir.filePath("missing.xls")));
    EXPECT_NO_THROW(shell::deleteFileQuietly(QString()));
    EXPECT_NO_THROW(shell::deleteFileQuietly(dir.filePath("no/such/folder/x.xls")));
    EXPECT_NO_THROW(shell::deleteFileQuietly(QStringLiteral("bad") + QChar(0) + QStringLiteral("name")));
    // A folder is never deleted, nor what is in it.
    EXPECT_NO_THROW(shell::deleteFileQuietly(dir.filePath("folder")));
    EXPECT_TRUE(QFile::exists(dir.filePath("folder/inside.txt")));
}

TEST(DeleteFileQuiet, LeavesAFileInALockedFolderAlone) {
    if (runningAsRoot()) GTEST_SKIP() << "folder permissions do not bind the superuser";
    IsolatedEnvironment env;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString file = makeFile(dir.filePath("locked/book.xls"));
    const auto before = QFile::permissions(file);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));

    EXPECT_NO_THROW(shell::deleteFileQuietly(file));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_THROW(shell::forceDeleteFile(file), shell::Failure);
    EXPECT_EQ(QFile::permissions(file), before);  // the forced attempt put them back
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(DeleteFileQuiet, LetsPendingEventsRunFirst) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    const QString file = makeFile(dir.filePath("book.xls"));
    bool existedWhenEventRan = false;
    bool eventRan = false;
    QTimer::singleShot(0, [&] {
        eventRan = true;
        existedWhenEventRan = QFile::exists(file);
    });

    shell::deleteFileQuietly(file);
    EXPECT_TRUE(eventRan);
    EXPECT_TRUE(existedWhenEventRan);
    EXPECT_FALSE(QFile::exists(file));
}

TEST(ForceDeleteFile, RemovesReadOnlyFilesAndFailsOtherwise) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    const QString readOnly = makeFile(dir.filePath("r.xls"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner));
    EXPECT_NO_THROW(shell::forceDeleteFile(readOnly));
    EXPECT_FALSE(QFile::exists(readOnly));

    EXPECT_THROW(shell::forceDeleteFile(dir.filePath("missing.xls")), shell::Failure);
    EXPECT_THROW(shell::forceDeleteFile(QString()), shell::Failure);
    EXPECT_THROW(shell::forceDeleteFile(dir.path()), shell::Failure);
    EXPECT_TRUE(QDir(dir.path()).exists());
}

TEST(ForceDeleteFile, RemovesALinkNotItsTarget) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    const QString target = makeFile(dir.filePath("target.xls"));
    ASSERT_TRUE(QFile::link(target, dir.filePath("link.xls")));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner));

    shell::forceDeleteFile(dir.filePath("link.xls"));
    EXPECT_FALSE(QFileInfo(dir.filePath("link.xls")).isSymLink());
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(QFile::permissions(target) & QFile::WriteOwner, QFile::Permissions());
}
