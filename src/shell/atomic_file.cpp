#include "shell/atomic_file.h"

#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

// As many links as the system itself follows before it calls them a loop.
constexpr int kMaxLinksFollowed = 40;
constexpr int kSiblingNameAttempts = 100;
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
// Before the umask and the folder's default access rules, which the system applies.
constexpr mode_t kUsualDocumentMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The file a write to a path creates or replaces.
struct Destination {
    QString path;  // the path itself, or the file its links lead to
    std::optional<struct stat> replaced;  // the regular file standing there now
};

Destination destinationOf(const QString& path, Durability durability) {
    const QString asGiven = QFileInfo(path).absoluteFilePath();
    Destination destination{asGiven, std::nullopt};
    if (durability == Durability::Synced) {
        QFileInfo entry(destination.path);
        for (int followed = 0; entry.isSymLink(); ++followed) {
            if (followed == kMaxLinksFollowed)
                throw Failure(QStringLiteral("Cannot write %1: its links lead round in a circle.").arg(path));
            destination.path = entry.symLinkTarget();
            entry.setFile(destination.path);
        }
    }
    const bool throughLink = destination.path != asGiven;
    const QFileInfo target(destination.path);
    if (target.isDir())
        throw Failure(throughLink ? QStringLiteral("Cannot write %1: it is a link to the folder %2.").arg(path, destination.path)
                                  : QStringLiteral("Cannot write %1: it is a folder.").arg(path));
    if (!target.dir().exists())
        throw Failure(throughLink ? QStringLiteral("Cannot write %1: it is a link to %2, whose folder does not exist.")
                                        .arg(path, destination.path)
                                  : QStringLiteral("Cannot write %1: its folder does not exist.").arg(path));
    struct stat status {};
    if (::lstat(QFile::encodeName(destination.path).constData(), &status) == 0 && S_ISREG(status.st_mode))
        destination.replaced = status;
    return destination;
}

// A new file beside the destination, created exclusively (never through a link,
// never over another file) and removed again unless it was renamed into place.
class Sibling {
public:
    Sibling(const QString& destination, mode_t mode, const QString& shownPath) {
        const QFileInfo info(destination);
        int fd = -1;
        int error = EEXIST;
        for (int attempt = 0; attempt < kSiblingNameAttempts && error == EEXIST; ++attempt) {
            const quint32 draw = QRandomGenerator::global()->generate();
            m_name = QFile::encodeName(info.absoluteDir().filePath(
                QStringLiteral(".%1.%2").arg(info.fileName()).arg(draw, 8, 16, QLatin1Char('0'))));
            fd = ::open(m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            error = fd < 0 ? errno : 0;
        }
        if (fd < 0)
            throw Failure(QStringLiteral("Cannot write %1: the folder cannot be written (%2).").arg(shownPath, systemError(error)));
        m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    }
    ~Sibling() {
        m_file.close();
        if (!m_renamed) ::unlink(m_name.constData());
    }
    Sibling(const Sibling&) = delete;
    Sibling& operator=(const Sibling&) = delete;

    QFile& file() { return m_file; }

    // Takes the replaced file's permission bits and, where the user may set it, its
    // group. Where the file system keeps no such bits the new file stays owner-only.
    void takeAccessOf(const struct stat& replaced) {
        if (::fchown(m_file.handle(), static_cast<uid_t>(-1), replaced.st_gid) != 0) {
            // A group the user is no member of: the file keeps the user's own.
        }
        if (::fchmod(m_file.handle(), replaced.st_mode & kPermissionBits) != 0) {
            // Left owner-only, never more open than the file it replaces.
        }
    }

    // 0 when done, else the system's error number.
    int sync() { return ::fsync(m_file.handle()) == 0 ? 0 : errno; }

    // 0 when done, else the system's error number.
    int renameOver(const QString& destination) {
        m_renamed = std::rename(m_name.constData(), QFile::encodeName(destination).constData()) == 0;
        return m_renamed ? 0 : errno;
    }

private:
    QByteArray m_name;
    QFile m_file;
    bool m_renamed = false;
};

// A rename is on the disk only once its folder is. A folder that cannot be opened
// or synced (a file system without the call) is left to the system.
void syncFolder(const QString& destination, const QString& shownPath) {
    const QByteArray folder = QFile::encodeName(QFileInfo(destination).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL && error != EROFS && error != ENOTSUP)
        throw Failure(QStringLiteral("%1 was written, but the disk reported an error and it may not survive a crash (%2).")
                          .arg(shownPath, systemError(error)));
}

}  // namespace

void WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, Durability durability) {
    if (path.contains(QChar(0))) throw Failure(QStringLiteral("Cannot write %1: the name holds a NUL character.").arg(path));
    const Destination destination = destinationOf(path, durability);

    // Never more open while written than the file it becomes.
    const bool keepsAccess = durability == Durability::Synced && destination.replaced;
    const mode_t mode = keepsAccess || durability == Durability::WithinRun ? kOwnerOnly : kUsualDocumentMode;
    Sibling sibling(destination.path, mode, path);
    if (!write(sibling.file()) || !sibling.file().flush())
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, sibling.file().errorString()));
    if (keepsAccess) sibling.takeAccessOf(*destination.replaced);
    if (const int error = durability == Durability::Synced ? sibling.sync() : 0)
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, systemError(error)));
    if (const int error = sibling.renameOver(destination.path))
        throw Failure(QStringLiteral("Cannot replace %1 (%2).").arg(path, systemError(error)));
    if (durability == Durability::Synced) syncFolder(destination.path, path);
}

void CopyFileAtomically(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("File not found: %1").arg(source));
    WriteFileAtomically(destination, [&](QIODevice& out) {
        char buffer[1 << 16];
        for (;;) {
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n < 0) return false;
            if (n == 0) return true;
            if (out.write(buffer, n) != n) return false;
        }
    });
}

}  // namespace shell
