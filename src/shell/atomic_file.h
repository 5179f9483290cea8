#pragma once

#include <QString>
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
// more open while written than the file it becomes) that is flushed (and synced,
// see Durability) and then renamed over the file it replaces. A document keeps
// the permission bits of the file it replaces, and its group where the user may
// set it. On any failure the sibling is removed, every existing file is left as
// it was, and shell::Failure is thrown with a clear description. write returns
// false (or throws) to abandon the file.
void WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write,
                         Durability durability = Durability::Synced);

// Copies source to destination byte for byte through WriteFileAtomically.
void CopyFileAtomically(const QString& source, const QString& destination);

}  // namespace shell
