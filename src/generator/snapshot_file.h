#pragma once

#include <QImage>
#include <QString>

namespace generator {

// The snapshot file of a run: the picture of the used range as a BMP image.
inline constexpr const char* kSnapshotFileName = "temp.bmp";

// Writes picture to path as BMP, replacing the file only once it is complete (a
// link standing at path is replaced, never followed). Throws shell::Failure.
void SavePicture(const QImage& picture, const QString& path);
// Reads the picture back; throws shell::Failure when the file is missing or unreadable.
QImage LoadPicture(const QString& path);

}  // namespace generator
