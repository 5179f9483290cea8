#include "generator/engine/xls/compound_file_writer.h"

#include "generator/engine/model/engine_error.h"
#include "generator/engine/xls/byte_io.h"
#include "generator/engine/xls/compound_file_format.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace engine::xls {

namespace {

using namespace cfb;

qsizetype sectorsFor(qsizetype bytes, qsizetype sectorSize) {
    return (bytes + sectorSize - 1) / sectorSize;
}

// One directory entry as it will be written.
struct DirEntry {
    QString name;
    EntryType type = Unused;
    EntryColour colour = Black;
    std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    std::uint32_t start = kEndOfChain;
    std::uint32_t size = 0;
};

// Directory siblings form a binary search tree ordered by name length, then by the
// upper-cased name. A tree built from the middle of the sorted list is balanced; its
// nodes on an incomplete deepest level are red, the rest black, which keeps it a
// valid red-black tree.
bool directoryLess(const QString& a, const QString& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a.toUpper() < b.toUpper();
}

std::uint32_t buildSiblingTree(std::vector<DirEntry>& entries, const std::vector<std::uint32_t>& sorted,
                               int first, int last, int depth, int redDepth) {
    if (first > last) return kNoStream;
    const int mid = (first + last) / 2;
    const std::uint32_t id = sorted[mid];
    entries[id].colour = depth == redDepth ? Red : Black;
    entries[id].left = buildSiblingTree(entries, sorted, first, mid - 1, depth + 1, redDepth);
    entries[id].right = buildSiblingTree(entries, sorted, mid + 1, last, depth + 1, redDepth);
    return id;
}

std::uint32_t buildDirectoryTree(std::vector<DirEntry>& entries) {
    std::vector<std::uint32_t> sorted(entries.size() - 1);
    std::iota(sorted.begin(), sorted.end(), 1u);
    std::sort(sorted.begin(), sorted.end(),
              [&](auto a, auto b) { return directoryLess(entries[a].name, entries[b].name); });
    const int n = static_cast<int>(sorted.size());
    // Depth of the deepest level, and whether that level is full.
    int levels = 0;
    while ((1 << levels) - 1 < n) ++levels;
    const bool deepestFull = ((1 << levels) - 1) == n;
    const int redDepth = deepestFull ? -1 : levels - 1;
    return buildSiblingTree(entries, sorted, 0, n - 1, 0, redDepth);
}

void writeDirEntry(ByteWriter& w, const DirEntry& e) {
    const qsizetype begin = w.position();
    const QString name = e.name.left(31);
    for (QChar c : name) w.u16(c.unicode());
    w.zeros(64 - name.size() * 2);
    w.u16(e.type == Unused ? 0 : (name.size() + 1) * 2);
    w.u8(e.type);
    w.u8(e.colour);
    w.u32(e.left);
    w.u32(e.right);
    w.u32(e.child);
    w.zeros(16 + 4 + 8 + 8);  // class id, state bits, creation and modification times
    w.u32(e.start);
    w.u32(e.size);
    w.u32(0);  // high part of the size
    Q_ASSERT(w.position() - begin == kDirEntrySize);
}

}  // namespace

QByteArray buildCompoundFile(const std::vector<CompoundStream>& streams) {
    std::vector<DirEntry> entries(1 + streams.size());
    entries[0].name = QStringLiteral("Root Entry");
    entries[0].type = Root;

    // Sector plan: regular streams, then the mini stream, the mini FAT, the
    // directory, the FAT and, for very large files, DIFAT sectors.
    std::uint32_t nextSector = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // (first sector, count)
    QByteArray miniStream;
    std::vector<std::uint32_t> miniFat;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto& s = streams[i];
        if (s.name.isEmpty() || s.name.size() > 31)
            throw EngineError(QStringLiteral("The stream name \"%1\" is not valid in a compound file.").arg(s.name));
        if (s.data.size() > 0x7FFFFFFF)
            throw EngineError(QStringLiteral("The stream \"%1\" is too large for the file format.").arg(s.name));
        DirEntry& e = entries[i + 1];
        e.name = s.name;
        e.type = Stream;
        e.size = static_cast<std::uint32_t>(s.data.size());
        if (s.data.isEmpty()) continue;
        if (s.data.size() >= kMiniStreamCutoff) {
            const auto count = static_cast<std::uint32_t>(sectorsFor(s.data.size(), kSectorSize));
            e.start = nextSector;
            runs.emplace_back(nextSector, count);
            nextSector += count;
        } else {
            const auto first = static_cast<std::uint32_t>(miniFat.size());
            const auto count = static_cast<std::uint32_t>(sectorsFor(s.data.size(), kMiniSectorSize));
            e.start = first;
            for (std::uint32_t k = 0; k < count; ++k) miniFat.push_back(k + 1 < count ? first + k + 1 : kEndOfChain);
            miniStream.append(s.data);
            miniStream.append(count * kMiniSectorSize - s.data.size(), '\0');
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            if (entries[i].name.compare(entries[j].name, Qt::CaseInsensitive) == 0)
                throw EngineError(QStringLiteral("The stream name \"%1\" appears twice.").arg(entries[j].name));

    const auto miniStreamSectors = static_cast<std::uint32_t>(sectorsFor(miniStream.size(), kSectorSize));
    const std::uint32_t miniStreamStart = nextSector;
    if (miniStreamSectors > 0) runs.emplace_back(nextSector, miniStreamSectors);
    nextSector += miniStreamSectors;
    entries[0].start = miniStreamSectors > 0 ? miniStreamStart : kEndOfChain;
    entries[0].size = static_cast<std::uint32_t>(miniStream.size());

    const auto miniFatSectors = static_cast<std::uint32_t>(sectorsFor(qsizetype(miniFat.size()) * 4, kSectorSize));
    const std::uint32_t miniFatStart = nextSector;
    if (miniFatSectors > 0) runs.emplace_back(nextSector, miniFatSectors);
    nextSector += miniFatSectors;

    const auto dirSectors = static_cast<std::uint32_t>(sectorsFor(qsizetype(entries.size()), kSectorSize / kDirEntrySize));
    const std::uint32_t dirStart = nextSector;
    runs.emplace_back(nextSector, dirSectors);
    nextSector += dirSectors;

    // The FAT covers every sector including its own and the DIFAT's.
    const std::uint32_t perFatSector = kSectorSize / 4;
    const std::uint32_t perDifatSector = perFatSector - 1;
    std::uint32_t fatSectors = 0, difatSectors = 0;
    for (;;) {
        const std::uint32_t total = nextSector + fatSectors + difatSectors;
        const std::uint32_t needFat = (total + perFatSector - 1) / perFatSector;
        const std::uint32_t needDifat = needFat > kHeaderDifatEntries
            ? (needFat - kHeaderDifatEntries + perDifatSector - 1) / perDifatSector : 0;
        if (needFat == fatSectors && needDifat == difatSectors) break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const std::uint32_t fatStart = nextSector;
    const std::uint32_t difatStart = fatStart + fatSectors;
    const std::uint32_t totalSectors = difatStart + difatSectors;

    std::vector<std::uint32_t> fat(std::size_t(fatSectors) * perFatSector, kFreeSector);
    for (auto [first, count] : runs)
        for (std::uint32_t k = 0; k < count; ++k) fat[first + k] = k + 1 < count ? first + k + 1 : kEndOfChain;
    for (std::uint32_t k = 0; k < fatSectors; ++k) fat[fatStart + k] = kFatSector;
    for (std::uint32_t k = 0; k < difatSectors; ++k) fat[difatStart + k] = kDifatSector;

    entries[0].child = entries.size() > 1 ? buildDirectoryTree(entries) : kNoStream;

    QByteArray file;
    file.reserve(qsizetype(kHeaderSize) + qsizetype(totalSectors) * kSectorSize);
    ByteWriter w(file);

    // Header.
    w.bytes(QByteArrayView(reinterpret_cast<const char*>(kSignature), 8));
    w.zeros(16);       // class id
    w.u16(0x003E);     // minor version
    w.u16(0x0003);     // major version 3
    w.u16(0xFFFE);     // little-endian
    w.u16(9);          // sector shift: 512 bytes
    w.u16(6);          // mini sector shift: 64 bytes
    w.zeros(6);
    w.u32(0);          // directory sectors (always 0 in version 3)
    w.u32(fatSectors);
    w.u32(dirStart);
    w.u32(0);          // transaction signature
    w.u32(kMiniStreamCutoff);
    w.u32(miniFatSectors > 0 ? miniFatStart : kEndOfChain);
    w.u32(miniFatSectors);
    w.u32(difatSectors > 0 ? difatStart : kEndOfChain);
    w.u32(difatSectors);
    for (std::uint32_t k = 0; k < kHeaderDifatEntries; ++k) w.u32(k < fatSectors ? fatStart + k : kFreeSector);
    Q_ASSERT(w.position() == kHeaderSize);

    auto padToSector = [&] {
        const qsizetype used = (w.position() - kHeaderSize) % kSectorSize;
        if (used != 0) w.zeros(kSectorSize - used);
    };

    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].data.size() < kMiniStreamCutoff) continue;
        w.bytes(streams[i].data);
        padToSector();
    }
    w.bytes(miniStream);
    padToSector();
    for (auto v : miniFat) w.u32(v);
    if (!miniFat.empty()) {
        const qsizetype used = (w.position() - kHeaderSize) % kSectorSize;
        for (qsizetype k = used; k != 0 && k < kSectorSize; k += 4) w.u32(kFreeSector);
    }
    const std::size_t dirSlots = std::size_t(dirSectors) * (kSectorSize / kDirEntrySize);
    for (std::size_t i = 0; i < dirSlots; ++i) writeDirEntry(w, i < entries.size() ? entries[i] : DirEntry{});
    for (auto v : fat) w.u32(v);
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        for (std::uint32_t k = 0; k < perDifatSector; ++k) {
            const std::uint32_t fatIndex = kHeaderDifatEntries + d * perDifatSector + k;
            w.u32(fatIndex < fatSectors ? fatStart + fatIndex : kFreeSector);
        }
        w.u32(d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
    }
    Q_ASSERT(file.size() == qsizetype(kHeaderSize) + qsizetype(totalSectors) * kSectorSize);
    return file;
}

}  // namespace engine::xls
