#pragma once

#include <QString>
#include <QByteArrayView>
#include <functional>

class QIODevice;

namespace shell {

// What a written file is to the program, which decides how it is written.
enum class Durability {
    // A file kept beyond the run: a workbook the user names, the settings. It is
    // forced onto the disk before it replaces the old one, and its folder after
    // the rename. A symbolic link at the path is followed: the file it names is
    // replaced in its own folder and the link stays. A new file gets the usual
    // mode under the user's umask.
    Synced,
    // A file of the temporary folder that the run reads back at once and deletes
    // (the temporary workbook, the snapshot). It gains nothing from the wait for
    // the disk. A link at the path is replaced, never written through, and the
    // file is readable by its owner only, whatever it replaces.
    WithinRun,
};

// Writes a file so that readers see the old content or the complete new one,
// never a part: the content goes to a new, exclusively created sibling (never
// more open while written than the file it becomes), hidden and named
// ".<name>.<8 hex digits>.quenvale-part", that is written out (and synced, see
// Durability) and then renamed over the file it replaces. Every failed or short
// write is noticed, whether or not the writer checks what its writes return. A
// document keeps the permission bits of the file it replaces, and its group where
// the user may set it. Only a regular file, new or existing, is written: a
// folder, device, named pipe or socket at the path (or where its links lead) is
// refused and left as it is. On any failure the sibling is removed, every
// existing file is left as it was, and shell::Failure is thrown with a clear
// description that gives the system's reason. write returns false (or throws) to
// abandon the file. While the sibling exists an interrupted program removes it
// (see transient_files.h); a document's write first removes the leftover
// siblings in its folder that no running instance holds and that are older than
// a day.
void writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write,
                         Durability durability = Durability::Synced);

// Copies source to destination byte for byte through writeFileAtomically.
void copyFileAtomically(const QString& source, const QString& destination);

// Throws the shell::Failure that writeFileAtomically would throw for its target
// before writing anything: a folder, device, pipe or socket at the path, links
// leading round in a circle, a missing folder, or a folder where no file can be
// made (tried with a sibling that is removed at once). Changes nothing else.
void checkWritableTarget(const QString& path, Durability durability = Durability::Synced);

// True when the two paths name the same file, links followed: the same device
// and inode for files that exist, the same folder and name for files yet to be
// made.
bool isSameFile(const QString& first, const QString& second);

// True for the names writeFileAtomically gives its siblings, as the file system
// spells them.
bool isPartialFileName(QByteArrayView name);

}  // namespace shell
