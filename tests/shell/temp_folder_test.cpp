#include "shell/failure.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray* value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// TEMP unset and the system's temporary folder moved into a fresh folder, so
// the private folder is made where the test can look at it.
class PrivateTempFolderTest : public ::testing::Test {
protected:
    IsolatedEnvironment env;
    QTemporaryDir systemTemp;
    QByteArray tmpdir = systemTemp.path().toLocal8Bit();
    ScopedEnv noTemp{"TEMP", nullptr};
    ScopedEnv movedTmp{"TMPDIR", &tmpdir};

    QString expectedFolder() const {
        return systemTemp.filePath(QStringLiteral("quenvale-%1").arg(::geteuid()));
    }
};

}  // namespace

TEST(TempFolder, IsTempReadAtEachUse) {
    IsolatedEnvironment env;
    EXPECT_EQ(shell::tempFolder(), env.tempFolder());
    const QByteArray other = "/some/other/place";
    ScopedEnv changed("TEMP", &other);
    EXPECT_EQ(shell::tempFolder(), QStringLiteral("/some/other/place"));
    EXPECT_EQ(shell::joinPath(shell::tempFolder(), QStringLiteral("temp.bmp")),
              QStringLiteral("/some/other/place/temp.bmp"));
}

TEST_F(PrivateTempFolderTest, WithoutTempAnOwnerOnlyFolderIsMade) {
    const QString folder = shell::tempFolder();
    EXPECT_EQ(folder, expectedFolder());
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(status.st_uid, ::geteuid());
    // Used again as it is.
    EXPECT_EQ(shell::tempFolder(), folder);

    const QByteArray empty;
    ScopedEnv emptyTemp("TEMP", &empty);
    EXPECT_EQ(shell::tempFolder(), folder);
}

TEST_F(PrivateTempFolderTest, RefusesALinkInItsPlace) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), expectedFolder()));
    EXPECT_THROW(shell::tempFolder(), shell::Failure);
}

TEST_F(PrivateTempFolderTest, RefusesAFolderOpenToOthers) {
    ASSERT_TRUE(QDir().mkdir(expectedFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(expectedFolder()).constData(), 0755), 0);
    EXPECT_THROW(shell::tempFolder(), shell::Failure);
}

TEST_F(PrivateTempFolderTest, RefusesAFileInItsPlace) {
    QFile file(expectedFolder());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(shell::tempFolder(), shell::Failure);
}

TEST_F(PrivateTempFolderTest, RefusesAFolderOfAnotherUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a folder away";
    ASSERT_TRUE(QDir().mkdir(expectedFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(expectedFolder()).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(expectedFolder()).constData(), 65534, 65534), 0);
    EXPECT_THROW(shell::tempFolder(), shell::Failure);
}
