#include "generator/temp_workbook_name.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace generator {

NameDigits::NameDigits() : m_engine(std::random_device{}()) {}

NameDigits::NameDigits(std::uint32_t seed) : m_engine(seed) {}

int NameDigits::Draw() { return m_digit(m_engine); }

bool ReserveTempFile(const QString& path) {
    // O_EXCL with O_CREAT never follows a link standing at path.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno != EEXIST;
}

void ReleaseTempFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && !info.isSymLink() && info.size() == 0) QFile::remove(path);
}

}  // namespace generator
