#include "engine/xls/compound_file_reader.h"

#include "engine/model/engine_error.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/compound_file_format.h"

#include <cstring>

namespace engine::xls {

namespace {

using namespace cfb;

[[noreturn]] void damaged(const QString& detail) {
    throw EngineError(QStringLiteral("the file is damaged (%1)").arg(detail));
}

}  // namespace

CompoundFileReader::CompoundFileReader(QByteArray file) : m_file(std::move(file)) {
    readHeader();
    readFat();
    readDirectory();
}

void CompoundFileReader::readHeader() {
    if (m_file.size() < kHeaderSize || std::memcmp(m_file.constData(), kSignature, 8) != 0)
        throw EngineError(QStringLiteral("the file is not an Excel 97-2003 workbook"));
    const char* h = m_file.constData();
    const std::uint16_t major = readU16(h + 26);
    if (readU16(h + 28) != 0xFFFE) damaged(QStringLiteral("wrong byte order mark"));
    m_sectorShift = readU16(h + 30);
    if (!((major == 3 && m_sectorShift == 9) || (major == 4 && m_sectorShift == 12)))
        damaged(QStringLiteral("unsupported version or sector size"));
    if (readU16(h + 32) != 6) damaged(QStringLiteral("unsupported mini sector size"));
    m_sectorSize = qsizetype(1) << m_sectorShift;
    m_fatSectors = readU32(h + 44);
    m_firstDirSector = readU32(h + 48);
    m_miniCutoff = readU32(h + 56);
    if (m_miniCutoff != kMiniStreamCutoff) damaged(QStringLiteral("wrong mini stream cutoff"));
    m_firstMiniFatSector = readU32(h + 60);
    m_miniFatSectors = readU32(h + 64);
    m_firstDifatSector = readU32(h + 68);
    m_difatSectors = readU32(h + 72);
    // The header fills the first sector; sector n starts at (n + 1) * sector size.
    m_sectorCount = m_file.size() > m_sectorSize ? (m_file.size() - 1) / m_sectorSize : 0;
}

void CompoundFileReader::readFat() {
    if (m_fatSectors == 0 || m_fatSectors > m_sectorCount)
        damaged(QStringLiteral("the sector table does not fit the file"));
    if (m_difatSectors > m_sectorCount) damaged(QStringLiteral("the sector table index does not fit the file"));

    std::vector<std::uint32_t> fatSectorIds;
    fatSectorIds.reserve(m_fatSectors);
    const char* h = m_file.constData();
    for (std::uint32_t k = 0; k < kHeaderDifatEntries && fatSectorIds.size() < m_fatSectors; ++k)
        fatSectorIds.push_back(readU32(h + 76 + 4 * k));

    // Further FAT sector ids live in a chain of DIFAT sectors.
    const qsizetype perDifat = m_sectorSize / 4 - 1;
    std::vector<bool> seen(m_sectorCount, false);
    std::uint32_t id = m_firstDifatSector;
    for (std::uint32_t n = 0; fatSectorIds.size() < m_fatSectors; ++n) {
        if (n >= m_difatSectors || id >= m_sectorCount)
            damaged(QStringLiteral("the sector table index ends early"));
        if (seen[id]) damaged(QStringLiteral("the sector table index loops"));
        seen[id] = true;
        const char* s = m_file.constData() + (qsizetype(id) + 1) * m_sectorSize;
        if ((qsizetype(id) + 2) * m_sectorSize > m_file.size()) damaged(QStringLiteral("the file is truncated"));
        for (qsizetype k = 0; k < perDifat && fatSectorIds.size() < m_fatSectors; ++k)
            fatSectorIds.push_back(readU32(s + 4 * k));
        id = readU32(s + 4 * perDifat);
    }

    const qsizetype perFat = m_sectorSize / 4;
    m_fat.reserve(std::size_t(m_fatSectors) * perFat);
    for (std::uint32_t fatId : fatSectorIds) {
        if (fatId >= m_sectorCount || (qsizetype(fatId) + 2) * m_sectorSize > m_file.size())
            damaged(QStringLiteral("a sector table sector lies outside the file"));
        const char* s = m_file.constData() + (qsizetype(fatId) + 1) * m_sectorSize;
        for (qsizetype k = 0; k < perFat; ++k) m_fat.push_back(readU32(s + 4 * k));
    }
}

std::vector<std::uint32_t> CompoundFileReader::chain(std::uint32_t start, const std::vector<std::uint32_t>& table,
                                                     std::size_t maxLength, const QString& what) const {
    std::vector<std::uint32_t> ids;
    std::vector<bool> seen(table.size(), false);
    std::uint32_t id = start;
    while (id != kEndOfChain && ids.size() < maxLength) {
        if (id >= table.size()) damaged(QStringLiteral("the sector chain of %1 leaves the file").arg(what));
        if (seen[id]) damaged(QStringLiteral("the sector chain of %1 loops").arg(what));
        seen[id] = true;
        ids.push_back(id);
        id = table[id];
    }
    return ids;
}

QByteArray CompoundFileReader::readChain(const std::vector<std::uint32_t>& sectors, qsizetype size,
                                         const QString& what) const {
    QByteArray storage;
    const QByteArrayView bytes = chainBytes(sectors, size, what, storage);
    return storage.isNull() ? bytes.toByteArray() : storage;
}

QByteArrayView CompoundFileReader::chainBytes(const std::vector<std::uint32_t>& sectors, qsizetype size,
                                              const QString& what, QByteArray& storage) const {
    if (qsizetype(sectors.size()) * m_sectorSize < size)
        damaged(QStringLiteral("%1 is shorter than its recorded size").arg(what));
    // Every sector is checked first; the bytes are copied only when the sectors do
    // not follow each other.
    bool contiguous = true;
    qsizetype taken = 0;
    for (std::size_t k = 0; k < sectors.size() && taken < size; ++k) {
        const std::uint32_t id = sectors[k];
        const qsizetype take = std::min(m_sectorSize, size - taken);
        const qsizetype at = (qsizetype(id) + 1) * m_sectorSize;
        if (id >= m_sectorCount || at + take > m_file.size()) damaged(QStringLiteral("the file is truncated"));
        contiguous = contiguous && id == sectors[0] + k;
        taken += take;
    }
    if (contiguous)
        return sectors.empty() ? QByteArrayView() : QByteArrayView(m_file).sliced((qsizetype(sectors[0]) + 1) * m_sectorSize, size);
    storage.reserve(size);
    for (std::uint32_t id : sectors) {
        const qsizetype take = std::min(m_sectorSize, size - storage.size());
        if (take <= 0) break;
        storage.append(m_file.constData() + (qsizetype(id) + 1) * m_sectorSize, take);
    }
    return storage;
}

void CompoundFileReader::readDirectory() {
    const auto sectors = chain(m_firstDirSector, m_fat, std::size_t(m_sectorCount), QStringLiteral("the directory"));
    const QByteArray dir = readChain(sectors, qsizetype(sectors.size()) * m_sectorSize, QStringLiteral("the directory"));
    const qsizetype count = dir.size() / kDirEntrySize;
    if (count == 0) damaged(QStringLiteral("the directory is empty"));
    m_entries.resize(count);
    for (qsizetype i = 0; i < count; ++i) {
        const char* p = dir.constData() + i * kDirEntrySize;
        Entry& e = m_entries[i];
        const std::uint16_t nameBytes = readU16(p + 64);
        e.type = static_cast<std::uint8_t>(p[66]);
        if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0) {
            for (int k = 0; k + 1 < nameBytes / 2; ++k) e.name.append(QChar(readU16(p + 2 * k)));
        } else if (e.type != Unused) {
            e.type = Unused;  // a nameless entry cannot be looked up
        }
        e.left = readU32(p + 68);
        e.right = readU32(p + 72);
        e.child = readU32(p + 76);
        e.start = readU32(p + 116);
        // Version 3 files may leave garbage in the high half of the size.
        e.size = m_sectorShift == 9 ? readU32(p + 120)
                                    : (readU32(p + 120) | (std::uint64_t(readU32(p + 124)) << 32));
    }
    if (m_entries[0].type != Root) damaged(QStringLiteral("the directory has no root entry"));

    // Collect the root's children: a binary tree of siblings, walked without recursion
    // and with a guard against cycles.
    std::vector<bool> seen(m_entries.size(), false);
    std::vector<std::uint32_t> pending;
    if (m_entries[0].child != kNoStream) pending.push_back(m_entries[0].child);
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == 0 || id >= m_entries.size()) damaged(QStringLiteral("a directory entry points outside the directory"));
        if (seen[id]) damaged(QStringLiteral("the directory tree loops"));
        seen[id] = true;
        m_rootChildren.push_back(id);
        if (m_entries[id].left != kNoStream) pending.push_back(m_entries[id].left);
        if (m_entries[id].right != kNoStream) pending.push_back(m_entries[id].right);
    }
}

QStringList CompoundFileReader::streamNames() const {
    QStringList names;
    for (auto id : m_rootChildren)
        if (m_entries[id].type == Stream) names << m_entries[id].name;
    return names;
}

const CompoundFileReader::Entry* CompoundFileReader::findRootChild(const QString& name) const {
    for (auto id : m_rootChildren)
        if (m_entries[id].type == Stream && m_entries[id].name.compare(name, Qt::CaseInsensitive) == 0)
            return &m_entries[id];
    return nullptr;
}

bool CompoundFileReader::hasStream(const QString& name) const {
    return findRootChild(name) != nullptr;
}

CompoundFileReader::MiniStorage CompoundFileReader::readMiniStorage() const {
    MiniStorage mini;
    const Entry& root = m_entries[0];
    if (root.size > std::uint64_t(m_file.size())) damaged(QStringLiteral("the mini stream is larger than the file"));
    const auto size = qsizetype(root.size);
    const auto sectors = chain(root.start, m_fat, std::size_t((size + m_sectorSize - 1) / m_sectorSize),
                               QStringLiteral("the mini stream"));
    mini.stream = readChain(sectors, size, QStringLiteral("the mini stream"));

    if (m_miniFatSectors > m_sectorCount) damaged(QStringLiteral("the mini sector table does not fit the file"));
    const auto miniFatIds = chain(m_firstMiniFatSector, m_fat, m_miniFatSectors, QStringLiteral("the mini sector table"));
    const QByteArray raw = readChain(miniFatIds, qsizetype(miniFatIds.size()) * m_sectorSize,
                                     QStringLiteral("the mini sector table"));
    mini.table.resize(raw.size() / 4);
    for (std::size_t k = 0; k < mini.table.size(); ++k) mini.table[k] = readU32(raw.constData() + 4 * k);
    return mini;
}

QByteArray CompoundFileReader::stream(const QString& name) const {
    QByteArray storage;
    const QByteArrayView bytes = streamBytes(name, storage);
    return storage.isNull() ? bytes.toByteArray() : storage;
}

QByteArrayView CompoundFileReader::streamBytes(const QString& name, QByteArray& storage) const {
    const Entry* e = findRootChild(name);
    if (!e) throw EngineError(QStringLiteral("the file has no \"%1\" stream").arg(name));
    const QString what = QStringLiteral("the \"%1\" stream").arg(name);
    if (e->size > std::uint64_t(m_file.size())) damaged(QStringLiteral("%1 is larger than the file").arg(what));
    const auto size = qsizetype(e->size);
    if (size == 0) return {};
    if (size >= qsizetype(m_miniCutoff)) {
        const auto sectors = chain(e->start, m_fat, std::size_t((size + m_sectorSize - 1) / m_sectorSize), what);
        return chainBytes(sectors, size, what, storage);
    }

    // Small streams live in 64-byte sectors of the mini stream.
    const MiniStorage mini = readMiniStorage();
    const auto ids = chain(e->start, mini.table, std::size_t((size + kMiniSectorSize - 1) / kMiniSectorSize), what);
    if (qsizetype(ids.size()) * kMiniSectorSize < size) damaged(QStringLiteral("%1 is shorter than its recorded size").arg(what));
    storage.reserve(size);
    for (std::uint32_t id : ids) {
        const qsizetype at = qsizetype(id) * kMiniSectorSize;
        const qsizetype take = std::min<qsizetype>(kMiniSectorSize, size - storage.size());
        if (at + take > mini.stream.size()) damaged(QStringLiteral("%1 lies outside the mini stream").arg(what));
        storage.append(mini.stream.constData() + at, take);
    }
    return storage;
}

}  // namespace engine::xls
