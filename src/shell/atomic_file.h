#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace shell {

// Whether a new file is forced onto the disk before it replaces the old one. A
// file that only lives within one run (read back at once and then deleted) gains
// nothing from the wait.
enum class Durability { Synced, WithinRun };

// Writes a file so that readers see the old content or the complete new one,
// never a part: the content goes to a new, exclusively created sibling that is
// flushed (and synced to the disk unless it only lives within the run) and then
// renamed over path. A link standing at path is replaced, not followed. On any
// failure the sibling is removed, path is left as it was, and shell::Failure is
// thrown with a clear description. write returns false (or throws) to abandon the
// file.
void WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write,
                         Durability durability = Durability::Synced);

// Copies source to destination byte for byte through WriteFileAtomically.
void CopyFileAtomically(const QString& source, const QString& destination);

}  // namespace shell
