#include "shell/atomic_file.h"

#include "shell/failure.h"
#include "shell/message_text.h"
#include "shell/transient_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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
// A sibling's name: ".", the file's name, ".", eight hex digits, the marker.
constexpr QByteArrayView kPartialMarker(".quenvale-part");
constexpr int kPartialDigits = 8;
// The longest file name the system takes, in bytes, less what a sibling adds.
constexpr qsizetype kMaxSiblingStemBytes = 255 - 2 - kPartialDigits - kPartialMarker.size();
constexpr qsizetype kOutputBufferBytes = 1 << 16;

// What stands at a path that is neither a file nor a folder, as messages say it.
QString specialKind(mode_t mode) {
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
    if (S_ISFIFO(mode)) return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket");
    return QStringLiteral("a special file");
}

bool isSpecial(mode_t mode) { return !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode); }

// The file the links at an absolute path lead to, the way the system follows
// them; none when they lead round in a circle.
std::optional<QString> followLinks(const QString& absolute) {
    QString path = absolute;
    QFileInfo entry(path);
    for (int followed = 0; entry.isSymLink(); ++followed) {
        if (followed == kMaxLinksFollowed) return std::nullopt;
        path = entry.symLinkTarget();
        entry.setFile(path);
    }
    return path;
}

// The file a write to a path creates or replaces.
struct Destination {
    QString path;  // the path itself, or the file its links lead to
    std::optional<struct stat> replaced;  // the regular file standing there now
};

Destination destinationOf(const QString& path, Durability durability) {
    if (path.contains(QChar(0))) throw Failure(QStringLiteral("Cannot write %1: the name holds a NUL character.").arg(path));
    const QString asGiven = QFileInfo(path).absoluteFilePath();
    Destination destination{asGiven, std::nullopt};
    if (durability == Durability::Synced) {
        // Where the system itself would write, through every link, its own ones
        // (/dev/stdout) included: a device, pipe or socket is never replaced.
        struct stat reached {};
        if (::stat(QFile::encodeName(asGiven).constData(), &reached) == 0 && isSpecial(reached.st_mode))
            throw Failure(QStringLiteral("Cannot write %1: it %2 %3, not a file.")
                              .arg(path, QFileInfo(asGiven).isSymLink() ? QStringLiteral("leads to") : QStringLiteral("is"),
                                   specialKind(reached.st_mode)));
        const std::optional<QString> reachedPath = followLinks(asGiven);
        if (!reachedPath) throw Failure(QStringLiteral("Cannot write %1: its links lead round in a circle.").arg(path));
        destination.path = *reachedPath;
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
    if (::lstat(QFile::encodeName(destination.path).constData(), &status) == 0) {
        // A link standing in the temporary folder is replaced, never written through.
        if (isSpecial(status.st_mode))
            throw Failure(QStringLiteral("Cannot write %1: it is %2, not a file.").arg(path, specialKind(status.st_mode)));
        if (S_ISREG(status.st_mode)) destination.replaced = status;
    }
    return destination;
}

// The sibling's content on its way to the file: buffered, and the first failed
// or short write kept with the system's reason, whatever the writer makes of
// what its writes return. Sequential: nothing seeks in a file being written.
class FileOutput final : public QIODevice {
public:
    explicit FileOutput(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }

    // Writes out what is buffered. 0 when every write reached the file, else the
    // system's error number of the first that failed.
    int finish() {
        drain();
        return m_error;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_error != 0) return -1;
        if (m_buffer.size() + size > kOutputBufferBytes && !drain()) return -1;
        if (size >= kOutputBufferBytes) return writeAll(data, size) ? size : -1;
        m_buffer.append(data, size);
        return size;
    }

private:
    bool drain() {
        const bool written = writeAll(m_buffer.constData(), m_buffer.size());
        m_buffer.clear();
        return written;
    }

    bool writeAll(const char* data, qint64 size) {
        while (size > 0 && m_error == 0) {
            const ssize_t n = ::write(m_fd, data, static_cast<size_t>(size));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                // A write that takes nothing has found no room.
                m_error = n < 0 ? errno : ENOSPC;
                setErrorString(systemErrorText(m_error));
                return false;
            }
            data += n;
            size -= n;
        }
        return m_error == 0;
    }

    int m_fd;
    QByteArray m_buffer;
    int m_error = 0;
};

// A new file beside the destination, created exclusively (never through a link,
// never over another file), registered for removal should the program be
// interrupted and held against other instances' sweeps while it exists, and
// removed again unless it was renamed into place.
class Sibling {
public:
    Sibling(const QString& destination, mode_t mode, const QString& shownPath) {
        const QFileInfo info(destination);
        QString stem = info.fileName();
        while (QFile::encodeName(stem).size() > kMaxSiblingStemBytes) stem.chop(1);
        int error = EEXIST;
        for (int attempt = 0; attempt < kSiblingNameAttempts && error == EEXIST; ++attempt) {
            const quint32 draw = QRandomGenerator::global()->generate();
            const QString digits = QStringLiteral("%1").arg(draw, kPartialDigits, 16, QLatin1Char('0'));
            m_name = QFile::encodeName(info.absoluteDir().filePath(
                QLatin1Char('.') + stem + QLatin1Char('.') + digits + QLatin1StringView(kPartialMarker)));
            m_fd = TransientPath::createFile(m_name, mode, m_registration);
            error = m_fd < 0 ? errno : 0;
        }
        if (m_fd < 0)
            throw Failure(QStringLiteral("Cannot write %1: the folder cannot be written (%2).").arg(shownPath, systemErrorText(error)));
        m_output.emplace(m_fd);
    }
    ~Sibling() {
        m_output.reset();
        if (m_fd >= 0) ::close(m_fd);
        if (!m_renamed) ::unlink(m_name.constData());
    }
    Sibling(const Sibling&) = delete;
    Sibling& operator=(const Sibling&) = delete;

    FileOutput& output() { return *m_output; }

    // Takes the replaced file's permission bits and, where the user may set it, its
    // group. Where the file system keeps no such bits the new file stays owner-only.
    void takeAccessOf(const struct stat& replaced) {
        if (::fchown(m_fd, static_cast<uid_t>(-1), replaced.st_gid) != 0) {
            // A group the user is no member of: the file keeps the user's own.
        }
        if (::fchmod(m_fd, replaced.st_mode & kPermissionBits) != 0) {
            // Left owner-only, never more open than the file it replaces.
        }
    }

    // Each 0 when done, else the system's error number.
    int sync() { return ::fsync(m_fd) == 0 ? 0 : errno; }
    int close() {
        m_output.reset();
        // Some file systems (network ones) report a failed write only here.
        const int result = ::close(std::exchange(m_fd, -1));
        return result == 0 || errno == EINTR ? 0 : errno;
    }
    int renameOver(const QString& destination) {
        m_renamed = std::rename(m_name.constData(), QFile::encodeName(destination).constData()) == 0;
        return m_renamed ? 0 : errno;
    }

private:
    QByteArray m_name;
    TransientPath m_registration;
    int m_fd = -1;
    std::optional<FileOutput> m_output;
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
                          .arg(shownPath, systemErrorText(error)));
}

// What makes two paths the same file: its device and inode, or, for a file yet to
// be made, its folder's and its name.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    QString name;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const QString& path) {
    const std::optional<QString> reached = followLinks(QFileInfo(path).absoluteFilePath());
    if (!reached) return std::nullopt;
    struct stat status {};
    if (::stat(QFile::encodeName(*reached).constData(), &status) == 0) return FileIdentity{status.st_dev, status.st_ino, {}};
    const QFileInfo info(*reached);
    if (::stat(QFile::encodeName(info.absolutePath()).constData(), &status) == 0)
        return FileIdentity{status.st_dev, status.st_ino, info.fileName()};
    return std::nullopt;
}

}  // namespace

void writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, Durability durability) {
    const Destination destination = destinationOf(path, durability);
    if (durability == Durability::Synced) removeStaleFiles(QFileInfo(destination.path).absolutePath(), isPartialFileName);

    // Never more open while written than the file it becomes.
    const bool keepsAccess = durability == Durability::Synced && destination.replaced;
    const mode_t mode = keepsAccess || durability == Durability::WithinRun ? kOwnerOnly : kUsualDocumentMode;
    Sibling sibling(destination.path, mode, path);
    const bool written = write(sibling.output());
    if (const int error = sibling.output().finish())
        throw Failure(QStringLiteral("Cannot write %1: %2.").arg(path, systemErrorText(error)));
    if (!written) throw Failure(QStringLiteral("Cannot write %1: its content could not be made.").arg(path));
    if (keepsAccess) sibling.takeAccessOf(*destination.replaced);
    if (const int error = durability == Durability::Synced ? sibling.sync() : 0)
        throw Failure(QStringLiteral("Cannot write %1: %2.").arg(path, systemErrorText(error)));
    if (const int error = sibling.close())
        throw Failure(QStringLiteral("Cannot write %1: %2.").arg(path, systemErrorText(error)));
    if (const int error = sibling.renameOver(destination.path))
        throw Failure(QStringLiteral("Cannot replace %1 (%2).").arg(path, systemErrorText(error)));
    if (durability == Durability::Synced) syncFolder(destination.path, path);
}

void copyFileAtomically(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("File not found: %1").arg(source));
    writeFileAtomically(destination, [&](QIODevice& out) {
        char buffer[1 << 16];
        for (;;) {
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n < 0) throw Failure(QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
            if (n == 0) return true;
            if (out.write(buffer, n) != n) return false;
        }
    });
}

void checkWritableTarget(const QString& path, Durability durability) {
    const Destination destination = destinationOf(path, durability);
    const Sibling probe(destination.path, kOwnerOnly, path);
}

bool isSameFile(const QString& first, const QString& second) {
    const std::optional<FileIdentity> a = identityOf(first);
    const std::optional<FileIdentity> b = identityOf(second);
    if (a && b) return *a == *b;
    return QFileInfo(first).absoluteFilePath() == QFileInfo(second).absoluteFilePath();
}

bool isPartialFileName(QByteArrayView name) {
    const qsizetype digitsAt = name.size() - kPartialMarker.size() - kPartialDigits;
    if (digitsAt < 3 || !name.startsWith('.') || !name.endsWith(kPartialMarker) || name[digitsAt - 1] != '.')
        return false;
    const QByteArrayView digits = name.sliced(digitsAt, kPartialDigits);
    auto isHexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

}  // namespace shell
