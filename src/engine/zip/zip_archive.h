#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace engine::zip {

// A zip archive read from its bytes in memory (through minizip), for the
// workbook formats that are zip archives of XML parts (.xlsx, .ods). Damaged
// archives fail with EngineError saying what is wrong; an entry is never
// inflated beyond a limit, so a small archive cannot fill the memory.
class ZipArchive {
public:
    // The largest entry read, uncompressed.
    static constexpr qint64 kMaxEntryBytes = qint64(256) * 1024 * 1024;

    // Reads the archive's directory; fails when the bytes are no zip archive.
    // The bytes must outlive the archive.
    explicit ZipArchive(const QByteArray& bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // True when the archive holds an entry of that name (ASCII case ignored, as
    // readers of these formats do).
    bool contains(const QString& name) const;
    // The entry's bytes, uncompressed and checked against its CRC; none when the
    // archive holds no such entry. Fails on a damaged, encrypted or too large entry.
    std::optional<QByteArray> read(const QString& name) const;

    // True when the bytes start like a zip archive.
    static bool looksLikeZip(const QByteArray& bytes);

    // The bytes as minizip's reading functions see them.
    struct Source;

private:
    std::unique_ptr<Source> m_source;
    void* m_handle = nullptr;
};

}  // namespace engine::zip
