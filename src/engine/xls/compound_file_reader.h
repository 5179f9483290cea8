#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace engine::xls {

// Reads the streams of a compound file's root storage. Every structure is checked
// against the file: sector chains that loop, leave the file or end early, sizes the
// file cannot hold and malformed directories raise EngineError; no allocation
// exceeds what the file's size can justify.
class CompoundFileReader {
public:
    explicit CompoundFileReader(QByteArray file);

    // Names of the streams directly in the root storage.
    QStringList streamNames() const;
    bool hasStream(const QString& name) const;  // case-insensitive, as the format compares
    QByteArray stream(const QString& name) const;
    // The same bytes without a copy where the stream's sectors follow each other in
    // the file, as writers lay a large stream out: then a view into the file, which
    // lives as long as this reader; else a view of a copy made into `storage`.
    QByteArrayView streamBytes(const QString& name, QByteArray& storage) const;

private:
    struct Entry {
        QString name;
        std::uint8_t type = 0;
        std::uint32_t left = 0, right = 0, child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    void readHeader();
    void readFat();
    void readDirectory();
    struct MiniStorage {
        QByteArray stream;                 // the root entry's stream of 64-byte sectors
        std::vector<std::uint32_t> table;  // the mini sector table
    };
    MiniStorage readMiniStorage() const;
    std::vector<std::uint32_t> chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                     std::size_t maxLength, const QString& what) const;
    QByteArray readChain(const std::vector<std::uint32_t>& sectors, qsizetype size, const QString& what) const;
    QByteArrayView chainBytes(const std::vector<std::uint32_t>& sectors, qsizetype size, const QString& what,
                              QByteArray& storage) const;
    const Entry* findRootChild(const QString& name) const;

    QByteArray m_file;
    int m_sectorShift = 9;
    qsizetype m_sectorSize = 512;
    qsizetype m_sectorCount = 0;  // sectors the file holds, the last one possibly short
    std::uint32_t m_fatSectors = 0, m_firstDirSector = 0, m_miniCutoff = 4096;
    std::uint32_t m_firstMiniFatSector = 0, m_miniFatSectors = 0;
    std::uint32_t m_firstDifatSector = 0, m_difatSectors = 0;
    std::vector<std::uint32_t> m_fat;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_rootChildren;  // entry ids
};

}  // namespace engine::xls
