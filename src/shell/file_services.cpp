#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace shell {
namespace {

bool isUsablePath(const QString& path) { return !path.isEmpty() && !path.contains(QChar(0)); }

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

bool fileExists(const QString& path) {
    if (!isUsablePath(path)) return false;
    // A file, or a link to one; folders and anything unreachable do not count.
    return QFileInfo(path).isFile();
}

void deleteFileQuietly(const QString& path) {
    untrapped([&] {
        QCoreApplication::processEvents();
        if (!isUsablePath(path)) return;
        if (QFile::remove(path)) return;
        forceDeleteFile(path);
    });
}

void forceDeleteFile(const QString& path) {
    if (!isUsablePath(path)) throw Failure(QStringLiteral("No file to delete: the name is empty or holds a NUL character."));
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        throw Failure(QStringLiteral("File not found: %1").arg(shown(path)));
    if (info.isDir() && !info.isSymLink())
        throw Failure(QStringLiteral("Not a file: %1").arg(shown(path)));

    QFile file(path);
    const QFile::Permissions before = file.permissions();
    const bool madeWritable =
        !info.isSymLink() && file.setPermissions(before | QFile::WriteOwner | QFile::WriteUser);
    if (file.remove()) return;
    const QString reason = file.errorString();
    if (madeWritable) file.setPermissions(before);
    throw Failure(QStringLiteral("File could not be deleted: %1 (%2)").arg(shown(path), reason));
}

}  // namespace shell
