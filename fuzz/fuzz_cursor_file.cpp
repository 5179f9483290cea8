// The hand cursor file read at start-up: any bytes in HAND-M.CUR give a pointer or
// fail with a description, never a crash; a pointer's hot spot lies on its picture.
#include "fuzz_support.h"
#include "shell/cursor_file.h"
#include "shell/failure.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Pointers are pixmaps, which need the GUI application; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        fuzz::broken("cannot write the temporary file", path);
    file.close();
    try {
        const QCursor cursor = shell::loadCursorFile(path);
        const QPixmap picture = cursor.pixmap();
        fuzz::check(!picture.isNull(), "a pointer without a picture was read");
        const QPoint hot = cursor.hotSpot();
        fuzz::check(hot.x() >= 0 && hot.y() >= 0 && hot.x() < picture.width() && hot.y() < picture.height(),
                    "the hot spot lies off the picture",
                    QStringLiteral("%1,%2 on %3x%4").arg(hot.x()).arg(hot.y()).arg(picture.width()).arg(picture.height()));
    } catch (const shell::Failure&) {
    }
    return 0;
}
