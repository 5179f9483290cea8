#include "generator/snapshot_file.h"

#include "generator/snapshot_bitmap.h"
#include "shell/atomic_file.h"
#include "shell/failure.h"

#include <QFile>
#include <QImageReader>

namespace generator {

void SavePicture(const QImage& picture, const QString& path) {
    if (picture.isNull()) throw shell::Failure(QStringLiteral("Invalid picture"));
    // The snapshot is read back at once and deleted before the run ends.
    shell::WriteFileAtomically(
        path, [&](QIODevice& out) { return WriteSnapshotBitmap(picture, out); }, shell::Durability::WithinRun);
}

QImage LoadPicture(const QString& path) {
    if (!QFile::exists(path)) throw shell::Failure(QStringLiteral("File not found: ") + path);
    // A picture is never larger than the renderer's bound; refuse anything absurd.
    constexpr int kLimitMegabytes = 512;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        if (std::optional<QImage> own = ReadSnapshotBitmap(file, qint64(kLimitMegabytes) << 20)) return *own;
        file.close();
    }
    // Any other bitmap.
    QImageReader reader(path, "BMP");
    reader.setAllocationLimit(kLimitMegabytes);
    QImage image = reader.read();
    if (image.isNull())
        throw shell::Failure(QStringLiteral("Invalid picture: ") + path + QStringLiteral(" (") +
                             reader.errorString() + QStringLiteral(")"));
    return image;
}

}  // namespace generator
