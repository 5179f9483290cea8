#include "shell/startup_services.h"

#include <QDir>

namespace shell {
namespace {

constexpr qsizetype kMaxTitleLength = 40;

}  // namespace

QString appTitle() { return titleFromName(QString::fromLatin1(kProductName)); }

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
