#include "generator/snapshot_file.h"

#include "shell/atomic_file.h"
#include "shell/failure.h"

#include <QFile>
#include <QImageReader>

namespace generator {

void SavePicture(const QImage& picture, const QString& path) {
    if (picture.isNull()) throw shell::Failure(QStringLiteral("Invalid picture"));
    // The snapshot is read back at once and deleted before the run ends.
    shell::WriteFileAtomically(
        path, [&](QIODevice& out) { return picture.save(&out, "BMP"); }, shell::Durability::WithinRun);
}

QImage LoadPicture(const QString& path) {
    if (!QFile::exists(path)) throw shell::Failure(QStringLiteral("File not found: ") + path);
    QImageReader reader(path, "BMP");
    // A picture is never larger than the renderer's bound; refuse anything absurd.
    reader.setAllocationLimit(512);
    QImage image = reader.read();
    if (image.isNull())
        throw shell::Failure(QStringLiteral("Invalid picture: ") + path + QStringLiteral(" (") +
                             reader.errorString() + QStringLiteral(")"));
    return image;
}

}  // namespace generator
