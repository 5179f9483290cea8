#include "shell/cursor_file.h"

#include "shell/failure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace shell {
namespace {

constexpr int kDirectoryHeaderSize = 6;
constexpr int kDirectoryEntrySize = 16;
constexpr quint16 kTypeIcon = 1;
constexpr quint16 kTypeCursor = 2;

quint16 word(const QByteArray& bytes, int offset) { return qFromLittleEndian<quint16>(bytes.constData() + offset); }

[[noreturn]] void notACursor(const QString& path) {
    throw Failure(QStringLiteral("%1 is not a cursor or icon file.").arg(QDir::toNativeSeparators(path)));
}

}  // namespace

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("%1 cannot be opened: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();

    // The directory: reserved 0, type (1 icon, 2 cursor), entry count; a cursor's
    // entries hold the hot spot where an icon's hold planes and bit count.
    if (bytes.size() < kDirectoryHeaderSize + kDirectoryEntrySize || word(bytes, 0) != 0) notACursor(path);
    const quint16 type = word(bytes, 2);
    if ((type != kTypeIcon && type != kTypeCursor) || word(bytes, 4) == 0) notACursor(path);

    // Qt's icon reader takes both kinds when handed the bytes as an icon file.
    QByteArray asIcon = bytes;
    qToLittleEndian<quint16>(kTypeIcon, asIcon.data() + 2);
    QBuffer buffer(&asIcon);
    buffer.open(QIODevice::ReadOnly);
    const QImage image = QImageReader(&buffer, "ico").read();
    if (image.isNull()) notACursor(path);

    int hotX = image.width() / 2;
    int hotY = image.height() / 2;
    if (type == kTypeCursor) {
        hotX = qMin<int>(word(bytes, kDirectoryHeaderSize + 4), image.width() - 1);
        hotY = qMin<int>(word(bytes, kDirectoryHeaderSize + 6), image.height() - 1);
    }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace shell
