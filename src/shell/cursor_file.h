#pragma once

#include <QCursor>
#include <QString>

namespace shell {

// Reads a Windows cursor (.cur) or icon (.ico) file as a pointer, with the hot spot
// the file gives (the centre for an icon). Throws Failure naming the file when it
// cannot be opened or read as one.
QCursor loadCursorFile(const QString& path);

}  // namespace shell
