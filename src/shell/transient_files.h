#pragma once

#include <QByteArray>
#include <QString>
#include <QByteArrayView>
#include <cstdint>
#include <functional>
#include <sys/types.h>

// The files the program makes for a while: the part of a file being written, the
// temporary workbook of a run, a scratch folder. Two things keep them from being
// left behind: an interrupted program removes the ones it registered, and any
// instance removes old ones of the program's naming that nobody holds.
namespace shell {

// From the call on, SIGINT, SIGTERM and SIGHUP end the program with the status
// 128 + the signal's number (130, 143, 129) once every registered file and folder
// is removed. Called first thing in main(), before any other thread starts: the
// signals are then blocked in every thread and taken by one thread that waits
// for them.
void removeTransientFilesOnInterruption();

// A file, or a folder with the files in it, registered for removal should the
// program be interrupted, for the object's life. The object itself removes
// nothing: it is let go once the file has been renamed into place or deleted.
class TransientPath {
public:
    enum class Kind { File, Folder };

    TransientPath() = default;
    TransientPath(const QString& path, Kind kind);
    ~TransientPath();
    TransientPath(TransientPath&& other) noexcept;
    TransientPath& operator=(TransientPath&& other) noexcept;
    TransientPath(const TransientPath&) = delete;
    TransientPath& operator=(const TransientPath&) = delete;

    // Creates a new file exclusively (never through a link, never over any other
    // entry) with the given mode, and registers it in the same step, so that an
    // interruption finds either no file or a registered one. The descriptor is
    // open for writing and holds the file (see FileHold). Returns -1 with errno
    // set when the file cannot be made; the registration is then empty.
    static int createFile(const QByteArray& path, mode_t mode, TransientPath& registration);

private:
    void release();
    std::uint64_t m_id = 0;
};

// Holds a file against removeStaleFiles in every instance of the program while
// the object lives (a shared advisory lock on an open descriptor).
class FileHold {
public:
    FileHold() = default;
    // Holds the file at path; holds nothing when it cannot be opened.
    explicit FileHold(const QString& path);
    ~FileHold();
    FileHold(FileHold&& other) noexcept;
    FileHold& operator=(FileHold&& other) noexcept;
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    // Holds the open file behind fd for as long as that descriptor stays open.
    static void hold(int fd);

private:
    int m_fd = -1;
};

// How old a file of the program's naming must be before another instance may
// take it for a leftover.
inline constexpr std::int64_t kLeftoverAgeSeconds = 24 * 60 * 60;

// Removes from folder the regular files whose names isOwnName accepts (as the
// file system spells them), owned by the user, last changed more than a day ago
// and held by no running instance. Never follows a link, never reports: what
// cannot be removed stays.
void removeStaleFiles(const QString& folder, const std::function<bool(QByteArrayView name)>& isOwnName);

}  // namespace shell
