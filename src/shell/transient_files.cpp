#include "shell/transient_files.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace shell {
namespace {

struct Registered {
    QByteArray path;
    TransientPath::Kind kind;
};

// The registered paths, in order of registration. The one process-wide table of
// the program: interruptions are process-wide, and the files are made deep inside the
// engine's writers, far from whoever receives the signal.
struct Registry {
    std::mutex mutex;
    std::map<std::uint64_t, Registered> paths;
    std::uint64_t lastId = 0;

    static Registry& instance() {
        static Registry registry;
        return registry;
    }

    std::uint64_t add(Registered entry) {
        paths.emplace(++lastId, std::move(entry));
        return lastId;
    }
};

// A folder with the files in it; what is left inside keeps the folder.
void removeFolder(const QByteArray& path) {
    if (DIR* folder = ::opendir(path.constData())) {
        while (const dirent* entry = ::readdir(folder)) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..") ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
        ::closedir(folder);
    }
    ::rmdir(path.constData());
}

[[noreturn]] void removeRegisteredAndExit(const sigset_t& interruptions) {
    int signal = 0;
    while (::sigwait(&interruptions, &signal) != 0) {
    }
    Registry& registry = Registry::instance();
    // Never released: from here on nothing is made or registered any more.
    registry.mutex.lock();
    // Newest first, so that a folder's files go before the folder.
    for (auto it = registry.paths.rbegin(); it != registry.paths.rend(); ++it) {
        if (it->second.kind == TransientPath::Kind::Folder) removeFolder(it->second.path);
        else ::unlink(it->second.path.constData());
    }
    ::_exit(128 + signal);
}

}  // namespace

void removeTransientFilesOnInterruption() {
    sigset_t interruptions;
    sigemptyset(&interruptions);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interruptions, signal);
    ::pthread_sigmask(SIG_BLOCK, &interruptions, nullptr);
    std::thread([interruptions] { removeRegisteredAndExit(interruptions); }).detach();
}

// --- TransientPath --------------------------------------------------------------------

TransientPath::TransientPath(const QString& path, Kind kind) {
    Registry& registry = Registry::instance();
    const std::lock_guard lock(registry.mutex);
    m_id = registry.add({QFile::encodeName(path), kind});
}

TransientPath::~TransientPath() { release(); }

TransientPath::TransientPath(TransientPath&& other) noexcept : m_id(std::exchange(other.m_id, 0)) {}

TransientPath& TransientPath::operator=(TransientPath&& other) noexcept {
    if (this != &other) {
        release();
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

void TransientPath::release() {
    if (m_id == 0) return;
    Registry& registry = Registry::instance();
    const std::lock_guard lock(registry.mutex);
    registry.paths.erase(std::exchange(m_id, 0));
}

int TransientPath::createFile(const QByteArray& path, mode_t mode, TransientPath& registration) {
    registration = TransientPath();
    Registry& registry = Registry::instance();
    const std::lock_guard lock(registry.mutex);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    FileHold::hold(fd);
    registration.m_id = registry.add({path, Kind::File});
    return fd;
}

// --- FileHold -------------------------------------------------------------------------

FileHold::FileHold(const QString& path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)) {
    if (m_fd >= 0) hold(m_fd);
}

FileHold::~FileHold() {
    if (m_fd >= 0) ::close(m_fd);
}

FileHold::FileHold(FileHold&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileHold& FileHold::operator=(FileHold&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void FileHold::hold(int fd) {
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        // A file system without advisory locks: the file's age alone protects it.
    }
}

// --- removeStaleFiles -----------------------------------------------------------------

void removeStaleFiles(const QString& folder, const std::function<bool(QByteArrayView name)>& isOwnName) {
    DIR* entries = ::opendir(QFile::encodeName(folder).constData());
    if (!entries) return;
    const int folderFd = ::dirfd(entries);
    const std::time_t oldest = std::time(nullptr) - kLeftoverAgeSeconds;
    while (const dirent* entry = ::readdir(entries)) {
        if (!isOwnName(QByteArrayView(entry->d_name))) continue;
        // Only a regular file is ever opened: opening a device may act on it.
        struct stat named {};
        if (::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode) ||
            named.st_uid != ::geteuid() || named.st_mtime >= oldest)
            continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        // Removed only while nobody holds it, and only the very file examined.
        struct stat opened {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino)
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(entries);
}

}  // namespace shell
