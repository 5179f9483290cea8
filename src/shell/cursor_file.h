#pragma once

#include <QCursor>
#include <QString>

namespace shell {

// Reads a Windows cursor (.cur) or icon (.ico) file as a pointer, with the hot spot
// the file gives (the centre for an icon). Throws Failure ("Invalid picture") when
// the file cannot be read as one, ("File not found") when it cannot be opened.
QCursor LoadCursorFile(const QString& path);

}  // namespace shell
