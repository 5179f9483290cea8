#include "engine/xls/compound_file_writer.h"

#include "engine/model/engine_error.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/compound_file_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace engine::xls {

namespace {

using namespace cfb;

static_assert(kCompoundHeaderRoom == kHeaderSize);

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

// Where everything goes: regular streams first, then the mini stream, the mini FAT,
// the directory, the FAT and, for very large files, DIFAT sectors.
struct Layout {
    std::vector<DirEntry> entries;
    QByteArray miniStream;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::uint32_t> fat;
    std::uint32_t miniFatStart = 0, miniFatSectors = 0;
    std::uint32_t dirStart = 0, dirSectors = 0;
    std::uint32_t fatStart = 0, fatSectors = 0;
    std::uint32_t difatStart = 0, difatSectors = 0;
    std::uint32_t totalSectors = 0;
};

// A stream as the layout sees it: small streams' bytes go into the mini stream.
struct StreamShape {
    QString name;
    qsizetype size = 0;
    QByteArrayView smallData;  // the bytes of a stream shorter than the cutoff
};

Layout planLayout(const std::vector<StreamShape>& streams) {
    Layout l;
    l.entries.resize(1 + streams.size());
    l.entries[0].name = QStringLiteral("Root Entry");
    l.entries[0].type = Root;

    std::uint32_t nextSector = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // (first sector, count)
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto& s = streams[i];
        if (s.name.isEmpty() || s.name.size() > 31)
            throw EngineError(QStringLiteral("The stream name \"%1\" is not valid in a compound file.").arg(s.name));
        if (s.size > 0x7FFFFFFF)
            throw EngineError(QStringLiteral("The stream \"%1\" is too large for the file format.").arg(s.name));
        DirEntry& e = l.entries[i + 1];
        e.name = s.name;
        e.type = Stream;
        e.size = static_cast<std::uint32_t>(s.size);
        if (s.size == 0) continue;
        if (s.size >= kMiniStreamCutoff) {
            const auto count = static_cast<std::uint32_t>(sectorsFor(s.size, kSectorSize));
            e.start = nextSector;
            runs.emplace_back(nextSector, count);
            nextSector += count;
        } else {
            const auto first = static_cast<std::uint32_t>(l.miniFat.size());
            const auto count = static_cast<std::uint32_t>(sectorsFor(s.size, kMiniSectorSize));
            e.start = first;
            for (std::uint32_t k = 0; k < count; ++k) l.miniFat.push_back(k + 1 < count ? first + k + 1 : kEndOfChain);
            l.miniStream.append(s.smallData.data(), s.smallData.size());
            l.miniStream.append(count * kMiniSectorSize - s.size, '\0');
        }
    }
    for (std::size_t i = 0; i < l.entries.size(); ++i)
        for (std::size_t j = i + 1; j < l.entries.size(); ++j)
            if (l.entries[i].name.compare(l.entries[j].name, Qt::CaseInsensitive) == 0)
                throw EngineError(QStringLiteral("The stream name \"%1\" appears twice.").arg(l.entries[j].name));

    const auto miniStreamSectors = static_cast<std::uint32_t>(sectorsFor(l.miniStream.size(), kSectorSize));
    const std::uint32_t miniStreamStart = nextSector;
    if (miniStreamSectors > 0) runs.emplace_back(nextSector, miniStreamSectors);
    nextSector += miniStreamSectors;
    l.entries[0].start = miniStreamSectors > 0 ? miniStreamStart : kEndOfChain;
    l.entries[0].size = static_cast<std::uint32_t>(l.miniStream.size());

    l.miniFatSectors = static_cast<std::uint32_t>(sectorsFor(qsizetype(l.miniFat.size()) * 4, kSectorSize));
    l.miniFatStart = nextSector;
    if (l.miniFatSectors > 0) runs.emplace_back(nextSector, l.miniFatSectors);
    nextSector += l.miniFatSectors;

    l.dirSectors = static_cast<std::uint32_t>(sectorsFor(qsizetype(l.entries.size()), kSectorSize / kDirEntrySize));
    l.dirStart = nextSector;
    runs.emplace_back(nextSector, l.dirSectors);
    nextSector += l.dirSectors;

    // The FAT covers every sector including its own and the DIFAT's.
    const std::uint32_t perFatSector = kSectorSize / 4;
    const std::uint32_t perDifatSector = perFatSector - 1;
    for (;;) {
        const std::uint32_t total = nextSector + l.fatSectors + l.difatSectors;
        const std::uint32_t needFat = (total + perFatSector - 1) / perFatSector;
        const std::uint32_t needDifat = needFat > kHeaderDifatEntries
            ? (needFat - kHeaderDifatEntries + perDifatSector - 1) / perDifatSector : 0;
        if (needFat == l.fatSectors && needDifat == l.difatSectors) break;
        l.fatSectors = needFat;
        l.difatSectors = needDifat;
    }
    l.fatStart = nextSector;
    l.difatStart = l.fatStart + l.fatSectors;
    l.totalSectors = l.difatStart + l.difatSectors;

    l.fat.assign(std::size_t(l.fatSectors) * perFatSector, kFreeSector);
    for (auto [first, count] : runs)
        for (std::uint32_t k = 0; k < count; ++k) l.fat[first + k] = k + 1 < count ? first + k + 1 : kEndOfChain;
    for (std::uint32_t k = 0; k < l.fatSectors; ++k) l.fat[l.fatStart + k] = kFatSector;
    for (std::uint32_t k = 0; k < l.difatSectors; ++k) l.fat[l.difatStart + k] = kDifatSector;

    l.entries[0].child = l.entries.size() > 1 ? buildDirectoryTree(l.entries) : kNoStream;
    return l;
}

qsizetype fileSize(const Layout& l) {
    return qsizetype(kHeaderSize) + qsizetype(l.totalSectors) * kSectorSize;
}

void writeHeader(ByteWriter& w, const Layout& l) {
    const qsizetype begin = w.position();
    w.bytes(QByteArrayView(reinterpret_cast<const char*>(kSignature), 8));
    w.zeros(16);       // class id
    w.u16(0x003E);     // minor version
    w.u16(0x0003);     // major version 3
    w.u16(0xFFFE);     // little-endian
    w.u16(9);          // sector shift: 512 bytes
    w.u16(6);          // mini sector shift: 64 bytes
    w.zeros(6);
    w.u32(0);          // directory sectors (always 0 in version 3)
    w.u32(l.fatSectors);
    w.u32(l.dirStart);
    w.u32(0);          // transaction signature
    w.u32(kMiniStreamCutoff);
    w.u32(l.miniFatSectors > 0 ? l.miniFatStart : kEndOfChain);
    w.u32(l.miniFatSectors);
    w.u32(l.difatSectors > 0 ? l.difatStart : kEndOfChain);
    w.u32(l.difatSectors);
    for (std::uint32_t k = 0; k < kHeaderDifatEntries; ++k) w.u32(k < l.fatSectors ? l.fatStart + k : kFreeSector);
    Q_ASSERT(w.position() - begin == kHeaderSize);
}

// Zeros up to the end of the sector being written.
void padToSector(ByteWriter& w) {
    const qsizetype used = (w.position() - kHeaderSize) % kSectorSize;
    if (used != 0) w.zeros(kSectorSize - used);
}

// Everything after the regular streams' sectors.
void writeTail(ByteWriter& w, const Layout& l) {
    w.bytes(l.miniStream);
    padToSector(w);
    for (auto v : l.miniFat) w.u32(v);
    if (!l.miniFat.empty()) {
        const qsizetype used = (w.position() - kHeaderSize) % kSectorSize;
        for (qsizetype k = used; k != 0 && k < kSectorSize; k += 4) w.u32(kFreeSector);
    }
    const std::size_t dirSlots = std::size_t(l.dirSectors) * (kSectorSize / kDirEntrySize);
    for (std::size_t i = 0; i < dirSlots; ++i) writeDirEntry(w, i < l.entries.size() ? l.entries[i] : DirEntry{});
    for (auto v : l.fat) w.u32(v);
    const std::uint32_t perDifatSector = kSectorSize / 4 - 1;
    for (std::uint32_t d = 0; d < l.difatSectors; ++d) {
        for (std::uint32_t k = 0; k < perDifatSector; ++k) {
            const std::uint32_t fatIndex = kHeaderDifatEntries + d * perDifatSector + k;
            w.u32(fatIndex < l.fatSectors ? l.fatStart + fatIndex : kFreeSector);
        }
        w.u32(d + 1 < l.difatSectors ? l.difatStart + d + 1 : kEndOfChain);
    }
}

}  // namespace

QByteArray buildCompoundFile(const std::vector<CompoundStream>& streams) {
    std::vector<StreamShape> shapes;
    for (const auto& s : streams)
        shapes.push_back({s.name, s.data.size(), s.data.size() < kMiniStreamCutoff ? QByteArrayView(s.data) : QByteArrayView()});
    const Layout layout = planLayout(shapes);

    QByteArray file;
    file.reserve(fileSize(layout));
    ByteWriter w(file);
    writeHeader(w, layout);
    for (const auto& s : streams) {
        if (s.data.size() < kMiniStreamCutoff) continue;
        w.bytes(s.data);
        padToSector(w);
    }
    writeTail(w, layout);
    Q_ASSERT(file.size() == fileSize(layout));
    return file;
}

QByteArray completeCompoundFile(const QString& name, QByteArray file) {
    const qsizetype size = file.size() - kHeaderSize;
    if (size < kMiniStreamCutoff)
        return buildCompoundFile({{name, file.sliced(kHeaderSize)}});
    const Layout layout = planLayout({{name, size, {}}});

    QByteArray header;
    header.reserve(kHeaderSize);
    ByteWriter h(header);
    writeHeader(h, layout);
    std::memcpy(file.data(), header.constData(), kHeaderSize);

    file.reserve(fileSize(layout));
    ByteWriter w(file);
    padToSector(w);
    writeTail(w, layout);
    Q_ASSERT(file.size() == fileSize(layout));
    return file;
}

}  // namespace engine::xls
