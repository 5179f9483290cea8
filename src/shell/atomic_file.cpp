#include "shell/atomic_file.h"

#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace shell {
namespace {

QString describeTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return QStringLiteral("it is a folder");
    if (!info.dir().exists()) return QStringLiteral("its folder does not exist");
    return QStringLiteral("the folder cannot be written");
}

}  // namespace

void WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, Durability durability) {
    if (path.contains(QChar(0))) throw Failure(QStringLiteral("Cannot write %1: the name holds a NUL character.").arg(path));
    const QFileInfo target(path);
    if (target.isDir())
        throw Failure(QStringLiteral("Cannot write %1: %2.").arg(path, describeTarget(path)));

    QTemporaryFile sibling(target.absoluteDir().filePath(QStringLiteral(".") + target.fileName() +
                                                         QStringLiteral(".XXXXXX")));
    if (!sibling.open())
        throw Failure(QStringLiteral("Cannot write %1: %2.").arg(path, describeTarget(path)));

    bool written = false;
    try {
        written = write(sibling);
    } catch (...) {
        sibling.remove();
        throw;
    }
    if (!written || !sibling.flush() || (durability == Durability::Synced && ::fsync(sibling.handle()) != 0)) {
        const QString reason = sibling.errorString();
        sibling.remove();
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, reason));
    }
    // The new file keeps the usual permissions of a user's document.
    sibling.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther);
    const QByteArray from = QFile::encodeName(sibling.fileName());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0) {
        sibling.remove();
        throw Failure(QStringLiteral("Cannot replace %1.").arg(path));
    }
    sibling.setAutoRemove(false);
}

void CopyFileAtomically(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("File not found: %1").arg(source));
    WriteFileAtomically(destination, [&](QIODevice& out) {
        char buffer[1 << 16];
        for (;;) {
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n < 0) return false;
            if (n == 0) return true;
            if (out.write(buffer, n) != n) return false;
        }
    });
}

}  // namespace shell
