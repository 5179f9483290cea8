#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace shell {

// Writes a file so that readers see the old content or the complete new one,
// never a part: the content goes to a new, exclusively created sibling that is
// flushed and then renamed over path. A link standing at path is replaced, not
// followed. On any failure the sibling is removed, path is left as it was, and
// shell::Failure is thrown with a clear description. write returns false (or
// throws) to abandon the file.
void WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write);

// Copies source to destination byte for byte through WriteFileAtomically.
void CopyFileAtomically(const QString& source, const QString& destination);

}  // namespace shell
