#pragma once

// File-system faults for the reliability tests. The tests run as root in CI, so
// permissions stop nothing: faults are made from structure instead (a file where a
// folder belongs, a folder where a file belongs, a missing folder, links, a FIFO,
// the read-only /proc) and a full disk from the file-size limit, which makes every
// write past the limit fail as a full disk does.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace faults {

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file's permission bits and group; all bits and -1 when it cannot be examined.
inline mode_t modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 07777;
}
inline gid_t groupOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_gid : static_cast<gid_t>(-1);
}

// A group other than the user's own that the user may give a file: any for the
// superuser, else one the user is a member of; none when there is no such group.
inline std::optional<gid_t> otherGroupOfUser() {
    const gid_t own = ::getegid();
    if (::geteuid() == 0) return own == 65534 ? 65533 : 65534;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
    if (count <= 0 || ::getgroups(count, groups.data()) < 0) return std::nullopt;
    for (const gid_t group : groups)
        if (group != own) return group;
    return std::nullopt;
}

inline bool makeFifo(const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

// Every entry of a folder, hidden ones included: a failed write must leave no
// half-written sibling behind.
inline QStringList entriesOf(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// Bytes that look like a workbook and are easy to recognise.
inline QByteArray workbookBytes(char fill, int size = 20000) {
    QByteArray bytes(size, fill);
    bytes.replace(0, 8, QByteArray::fromHex("D0CF11E0A1B11AE1"));
    return bytes;
}

// The system's reason for a write past the limit DiskFull sets, as messages give it.
inline QString fullDiskReason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }

// While alive, no file of this process may grow past `bytes`: writes beyond fail
// (as on a full disk) instead of raising SIGXFSZ.
class DiskFull {
public:
    explicit DiskFull(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~DiskFull() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

}  // namespace faults
