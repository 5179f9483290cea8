#include "engine/zip/zip_archive.h"

#include "engine/model/engine_error.h"

#include <algorithm>
#include <cstring>
#include <unzip.h>

namespace engine::zip {

// The bytes minizip reads through its I/O callbacks, with the read position.
struct ZipArchive::Source {
    const QByteArray& bytes;
    ZPOS64_T position = 0;
};

namespace {

constexpr int kCaseInsensitive = 2;  // minizip's name comparison ignoring ASCII case
constexpr uInt kReadPiece = 1 << 16;

voidpf ZCALLBACK openSource(voidpf opaque, const void*, int mode) {
    // Only reading is offered.
    return (mode & ZLIB_FILEFUNC_MODE_READ) && !(mode & ZLIB_FILEFUNC_MODE_WRITE) ? opaque : nullptr;
}

uLong ZCALLBACK readSource(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* source = static_cast<ZipArchive::Source*>(stream);
    const auto length = static_cast<ZPOS64_T>(source->bytes.size());
    if (source->position >= length) return 0;
    const uLong n = static_cast<uLong>(std::min<ZPOS64_T>(size, length - source->position));
    std::memcpy(buffer, source->bytes.constData() + source->position, n);
    source->position += n;
    return n;
}

uLong ZCALLBACK writeSource(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK tellSource(voidpf, voidpf stream) { return static_cast<ZipArchive::Source*>(stream)->position; }

long ZCALLBACK seekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* source = static_cast<ZipArchive::Source*>(stream);
    const auto length = static_cast<ZPOS64_T>(source->bytes.size());
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = source->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = length; break;
    default: return -1;
    }
    // Offsets past the end (or wrapping round) are refused rather than clamped.
    if (offset > length || base > length - offset) return -1;
    source->position = base + offset;
    return 0;
}

int ZCALLBACK closeSource(voidpf, voidpf) { return 0; }
int ZCALLBACK sourceError(voidpf, voidpf) { return 0; }

EngineError damaged(const QString& what) { return EngineError(QStringLiteral("the zip archive is damaged: ") + what); }

}  // namespace

ZipArchive::ZipArchive(const QByteArray& bytes) : m_source(std::make_unique<Source>(Source{bytes})) {
    zlib_filefunc64_def functions{};
    functions.zopen64_file = openSource;
    functions.zread_file = readSource;
    functions.zwrite_file = writeSource;
    functions.ztell64_file = tellSource;
    functions.zseek64_file = seekSource;
    functions.zclose_file = closeSource;
    functions.zerror_file = sourceError;
    functions.opaque = m_source.get();
    m_handle = unzOpen2_64("", &functions);
    if (!m_handle) throw EngineError(QStringLiteral("the file is no zip archive, or its directory is damaged"));
}

ZipArchive::~ZipArchive() {
    if (m_handle) unzClose(m_handle);
}

bool ZipArchive::looksLikeZip(const QByteArray& bytes) { return bytes.startsWith("PK\x03\x04"); }

bool ZipArchive::contains(const QString& name) const {
    return unzLocateFile(m_handle, name.toUtf8().constData(), kCaseInsensitive) == UNZ_OK;
}

std::optional<QByteArray> ZipArchive::read(const QString& name) const {
    const QByteArray entryName = name.toUtf8();
    if (unzLocateFile(m_handle, entryName.constData(), kCaseInsensitive) != UNZ_OK) return std::nullopt;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(m_handle, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        throw damaged(QStringLiteral("the entry \"%1\" cannot be read").arg(name));
    if (info.flag & 1) throw EngineError(QStringLiteral("the workbook is protected by a password"));
    if (unzOpenCurrentFile(m_handle) != UNZ_OK)
        throw damaged(QStringLiteral("the entry \"%1\" cannot be opened").arg(name));

    // The size the directory gives is a hint only: reading stops at the limit
    // whatever it says.
    QByteArray out;
    out.reserve(static_cast<qsizetype>(std::min<ZPOS64_T>(info.uncompressed_size, kReadPiece * 16)));
    int status = 0;
    for (;;) {
        const qsizetype at = out.size();
        out.resize(at + kReadPiece);
        status = unzReadCurrentFile(m_handle, out.data() + at, kReadPiece);
        if (status <= 0) {
            out.resize(at);
            break;
        }
        out.resize(at + status);
        if (out.size() > kMaxEntryBytes) {
            unzCloseCurrentFile(m_handle);
            throw EngineError(QStringLiteral("the entry \"%1\" is larger than 256 MiB uncompressed, too large to read")
                                  .arg(name));
        }
    }
    const int closed = unzCloseCurrentFile(m_handle);
    if (status < 0) throw damaged(QStringLiteral("the entry \"%1\" cannot be uncompressed").arg(name));
    if (closed == UNZ_CRCERROR) throw damaged(QStringLiteral("the entry \"%1\" fails its check sum").arg(name));
    if (closed != UNZ_OK) throw damaged(QStringLiteral("the entry \"%1\" ends early").arg(name));
    return out;
}

}  // namespace engine::zip
