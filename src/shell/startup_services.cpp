#include "shell/startup_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {
namespace {

// Where an installation puts the files the program ships, relative to the
// program's folder: bin/quenvale finds them in share/quenvale.
constexpr const char* kInstalledFilesFolder = "../share/quenvale";

QString g_programFolderOverride;
QString g_appTitle = QString::fromLatin1(kProductName);

constexpr qsizetype kMaxTitleLength = 40;

}  // namespace

QString programFolder() {
    if (!g_programFolderOverride.isEmpty()) return g_programFolderOverride;
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString& name) {
    const QString folder = programFolder();
    const QString besideProgram = joinPath(folder, QDir::toNativeSeparators(name));
    if (QFileInfo::exists(besideProgram)) return besideProgram;
    const QString installed = QDir::toNativeSeparators(
        QDir::cleanPath(folder + QLatin1Char('/') + QLatin1String(kInstalledFilesFolder) + QLatin1Char('/') + name));
    if (QFileInfo::exists(installed)) return installed;
    return besideProgram;
}

void setProgramFolderForTesting(const QString& folder) { g_programFolderOverride = folder; }

void setAppTitle() { g_appTitle = titleFromName(QString::fromLatin1(kProductName)); }

QString appTitle() { return g_appTitle; }

QString titleFromName(const QString& name) {
    QString title = name;
    // The last word always goes, then further words while the title is too long.
    // A single word has nothing to cut at and is kept whole.
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0) break;
        title.truncate(blank);
    } while (title.size() > kMaxTitleLength);
    return title;
}

QString joinPath(const QString& folder, const QString& name) {
    const QChar separator = QDir::separator();
    if (folder.endsWith(separator)) return folder + name;
    return folder + separator + name;
}

}  // namespace shell
