#include "generator/temp_workbook_name.h"

#include "shell/atomic_file.h"
#include "shell/error_trap.h"
#include "shell/startup_services.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace generator {

NameDigits::NameDigits() : m_engine(std::random_device{}()) {}

NameDigits::NameDigits(std::uint32_t seed) : m_engine(seed) {}

int NameDigits::draw() { return m_digit(m_engine); }

bool reserveTempFile(const QString& path, shell::TransientPath& registration) {
    // Created exclusively: a link standing at path is never followed.
    const int fd = shell::TransientPath::createFile(QFile::encodeName(path), 0600, registration);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno != EEXIST;
}

void releaseTempFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && !info.isSymLink() && info.size() == 0) QFile::remove(path);
}

bool isTemporaryWorkbookName(QByteArrayView name) {
    const QByteArrayView stem(kTempWorkbookStem);
    const QByteArrayView extension(".xls");
    if (name.size() != stem.size() + kTempWorkbookDigits + extension.size() || !name.startsWith(stem) ||
        !name.endsWith(extension))
        return false;
    const QByteArrayView digits = name.sliced(stem.size(), kTempWorkbookDigits);
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '1' && c <= '9'; });
}

void removeStaleTemporaryFiles() {
    shell::untrapped([] {
        shell::removeStaleFiles(shell::tempFolder(), [](QByteArrayView name) {
            return isTemporaryWorkbookName(name) || shell::isPartialFileName(name);
        });
    });
}

}  // namespace generator
