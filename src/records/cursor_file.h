#pragma once

#include <QCursor>
#include <QString>

namespace records {

// Reads a Windows cursor (.cur) or icon (.ico) file as a pointer, with the hot spot
// the file gives (the centre for an icon). Throws shell::Failure ("Invalid picture")
// when the file cannot be read as one.
QCursor LoadCursorFile(const QString& path);

}  // namespace records
