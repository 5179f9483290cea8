#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace shell {
namespace {

#ifdef Q_OS_UNIX

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A folder only this user can enter, so that the fixed file names the program
// uses there cannot be planted or watched by anyone else. An existing folder of
// that name is used only when it is a real folder (not a link), owned by us and
// closed to others.
QString privateTempFolder() {
    const uid_t uid = ::geteuid();
    const QString path = joinPath(QDir::tempPath(), QStringLiteral("quenvale-%1").arg(uid));
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        throw Failure(QStringLiteral("Temporary folder could not be created: %1 (%2)")
                          .arg(path, systemError(errno)));
    struct stat status {};
    if (::lstat(native.constData(), &status) != 0)
        throw Failure(QStringLiteral("Temporary folder could not be examined: %1 (%2)")
                          .arg(path, systemError(errno)));
    if (!S_ISDIR(status.st_mode) || status.st_uid != uid || (status.st_mode & 077) != 0)
        throw Failure(QStringLiteral("Temporary folder is not private to this user: %1").arg(path));
    return path;
}

#else

QString privateTempFolder() { return QDir::toNativeSeparators(QDir::tempPath()); }

#endif

}  // namespace

QString tempFolder() {
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty()) return temp;
    return privateTempFolder();
}

}  // namespace shell
