// The compound file container: what the writer builds reads back stream for stream,
// and damaged or hostile containers are refused with a description, never a crash,
// a hang or an allocation beyond the file's size.
#include "engine/model/engine_error.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/compound_file_reader.h"
#include "engine/xls/compound_file_writer.h"
#include "support/isolated_environment.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace engine;
using namespace engine::xls;

namespace {

QByteArray pattern(qsizetype size, int seed) {
    QByteArray b(size, '\0');
    for (qsizetype i = 0; i < size; ++i) b[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xFF);
    return b;
}

void put32(QByteArray& file, qsizetype at, std::uint32_t v) {
    QByteArray tmp;
    ByteWriter(tmp).u32(v);
    file.replace(at, 4, tmp);
}

std::uint32_t get32(const QByteArray& file, qsizetype at) { return readU32(file.constData() + at); }

qsizetype sectorOffset(std::uint32_t id) { return (qsizetype(id) + 1) * 512; }

// Offset of the FAT entry for a sector, through the header's first FAT sector.
qsizetype fatEntryOffset(const QByteArray& file, std::uint32_t sector) {
    return sectorOffset(get32(file, 76)) + 4 * qsizetype(sector);
}

// Opens the file and reads every stream; returns the failure's description, or an
// empty text when everything read.
QString readAll(const QByteArray& file) {
    try {
        CompoundFileReader reader(file);
        for (const auto& name : reader.streamNames()) reader.stream(name);
        return {};
    } catch (const EngineError& e) {
        return e.description();
    }
}

}  // namespace

TEST(XlsCompoundFile, StreamsOfEverySizeReadBackExactly) {
    IsolatedEnvironment env;
    const std::vector<CompoundStream> streams{
        {QStringLiteral("Workbook"), pattern(10000, 1)},        // regular sectors
        {QStringLiteral("Small"), pattern(100, 2)},             // mini stream
        {QStringLiteral("Edge"), pattern(4095, 3)},             // largest mini stream
        {QStringLiteral("Cutoff"), pattern(4096, 4)},           // smallest regular
        {QStringLiteral("Empty"), QByteArray()},
        {QStringLiteral("\u0005SummaryInformation"), pattern(512, 5)},
    };
    const QByteArray file = buildCompoundFile(streams);
    EXPECT_EQ(file.size() % 512, 0);

    CompoundFileReader reader(file);
    EXPECT_EQ(reader.streamNames().size(), qsizetype(streams.size()));
    for (const auto& s : streams) {
        ASSERT_TRUE(reader.hasStream(s.name)) << s.name.toStdString();
        EXPECT_EQ(reader.stream(s.name), s.data) << s.name.toStdString();
    }
    EXPECT_TRUE(reader.hasStream(QStringLiteral("WORKBOOK")));  // names compare case-insensitively
    EXPECT_FALSE(reader.hasStream(QStringLiteral("Book")));
    EXPECT_THROW(reader.stream(QStringLiteral("Book")), EngineError);
}

TEST(XlsCompoundFile, FileLargerThanTheHeaderFatIndexUsesDifatSectors) {
    IsolatedEnvironment env;
    // 109 FAT sectors map about 7 MB; a larger stream needs the DIFAT chain.
    const QByteArray big = pattern(8 * 1024 * 1024 + 123, 9);
    const QByteArray file = buildCompoundFile({{QStringLiteral("Workbook"), big}});
    EXPECT_GT(get32(file, 72), 0u);  // DIFAT sectors in use
    CompoundFileReader reader(file);
    EXPECT_EQ(reader.stream(QStringLiteral("Workbook")), big);
}

TEST(XlsCompoundFile, StreamWrittenInPlaceGivesTheSameFile) {
    IsolatedEnvironment env;
    for (qsizetype size : {100, 4095, 4096, 10000, 8 * 1024 * 1024 + 123}) {
        SCOPED_TRACE(size);
        const QByteArray data = pattern(size, 6);
        QByteArray inPlace(kCompoundHeaderRoom, '\0');
        inPlace.append(data);
        EXPECT_EQ(completeCompoundFile(QStringLiteral("Workbook"), inPlace),
                  buildCompoundFile({{QStringLiteral("Workbook"), data}}));
    }
}

TEST(XlsCompoundFile, StreamsReadInPlaceOrCopiedWhenScattered) {
    IsolatedEnvironment env;
    const QByteArray data = pattern(5000, 7);  // sectors 0 to 9
    const QByteArray file = buildCompoundFile({{QStringLiteral("Workbook"), data}});
    {
        CompoundFileReader reader(file);
        QByteArray storage;
        const QByteArrayView bytes = reader.streamBytes(QStringLiteral("Workbook"), storage);
        EXPECT_EQ(bytes, QByteArrayView(data));
        EXPECT_TRUE(storage.isNull());  // a view into the file
    }
    // Sectors 1 and 2 swapped, and the chain following them: 0 -> 2 -> 1 -> 3.
    QByteArray scattered = file;
    scattered.replace(sectorOffset(1), 512, file.mid(sectorOffset(2), 512));
    scattered.replace(sectorOffset(2), 512, file.mid(sectorOffset(1), 512));
    put32(scattered, fatEntryOffset(scattered, 0), 2);
    put32(scattered, fatEntryOffset(scattered, 2), 1);
    put32(scattered, fatEntryOffset(scattered, 1), 3);
    CompoundFileReader reader(scattered);
    QByteArray storage;
    EXPECT_EQ(reader.streamBytes(QStringLiteral("Workbook"), storage), QByteArrayView(data));
    EXPECT_EQ(storage, data);
    EXPECT_EQ(reader.stream(QStringLiteral("Workbook")), data);
}

TEST(XlsCompoundFile, DuplicateOrInvalidNamesAreRefused) {
    IsolatedEnvironment env;
    EXPECT_THROW(buildCompoundFile({{QStringLiteral("A"), {}}, {QStringLiteral("a"), {}}}), EngineError);
    EXPECT_THROW(buildCompoundFile({{QString(32, QChar('x')), {}}}), EngineError);
}

TEST(XlsCompoundFile, ForeignOrTruncatedFilesAreRefused) {
    IsolatedEnvironment env;
    EXPECT_FALSE(readAll(QByteArray()).isEmpty());
    EXPECT_FALSE(readAll(QByteArray("PK\x03\x04 not a workbook at all")).isEmpty());
    EXPECT_TRUE(readAll(QByteArray(600, 'x')).contains(QStringLiteral("not an Excel 97-2003 workbook")));

    const QByteArray file = buildCompoundFile({{QStringLiteral("Workbook"), pattern(9000, 1)},
                                               {QStringLiteral("Small"), pattern(300, 2)}});
    // The FAT sits at the end, so every cut through the file loses it and fails cleanly.
    for (qsizetype cut = 0; cut < file.size(); cut += 97) {
        const QString error = readAll(file.left(cut));
        EXPECT_FALSE(error.isEmpty()) << "cut at " << cut;
    }
}

TEST(XlsCompoundFile, LoopsInEveryChainAreDetected) {
    IsolatedEnvironment env;
    const QByteArray good = buildCompoundFile({{QStringLiteral("Workbook"), pattern(9000, 1)},
                                               {QStringLiteral("Small"), pattern(300, 2)}});
    ASSERT_TRUE(readAll(good).isEmpty());

    {   // A regular stream's chain points back to its own first sector.
        QByteArray f = good;
        put32(f, fatEntryOffset(f, 3), 0);  // Workbook starts at sector 0; sector 3 -> 0
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("loops")));
    }
    {   // The directory chain points to itself.
        QByteArray f = good;
        const std::uint32_t dir = get32(f, 48);
        put32(f, fatEntryOffset(f, dir), dir);
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("loops")));
    }
    {   // The mini stream's chain loops: mini sector 1 points to mini sector 0.
        QByteArray f = good;
        const std::uint32_t miniFat = get32(f, 60);
        put32(f, sectorOffset(miniFat) + 4, 0);
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("loops")));
    }
    {   // A directory entry names itself as its sibling.
        QByteArray f = good;
        const qsizetype dir = sectorOffset(get32(f, 48));
        const std::uint32_t firstChild = get32(f, dir + 76);
        put32(f, dir + firstChild * 128 + 68, firstChild);
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("loops")));
    }
    {   // A sector chain that runs into a free sector.
        QByteArray f = good;
        put32(f, fatEntryOffset(f, 2), 0xFFFFFFFF);
        EXPECT_FALSE(readAll(f).isEmpty());
    }
}

TEST(XlsCompoundFile, AbsurdSizesAndCountsAreRefused) {
    IsolatedEnvironment env;
    const QByteArray good = buildCompoundFile({{QStringLiteral("Workbook"), pattern(9000, 1)}});
    const qsizetype dir = sectorOffset(get32(good, 48));
    {   // A stream claiming four gigabytes.
        QByteArray f = good;
        put32(f, dir + 128 + 120, 0xFFFFFFF0);
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("larger than the file")));
    }
    {   // A stream claiming more than its chain holds.
        QByteArray f = good;
        put32(f, dir + 128 + 120, 20000);
        EXPECT_FALSE(readAll(f).isEmpty());
    }
    {   // Millions of FAT sectors.
        QByteArray f = good;
        put32(f, 44, 0x00FFFFFF);
        EXPECT_TRUE(readAll(f).contains(QStringLiteral("does not fit")));
    }
    {   // A DIFAT chain that loops onto itself.
        QByteArray f = good;
        put32(f, 44, 200);
        put32(f, 68, 0);
        put32(f, 72, 3);
        put32(f, sectorOffset(0) + 508, 0);
        EXPECT_FALSE(readAll(f).isEmpty());
    }
    {   // A FAT sector index outside the file.
        QByteArray f = good;
        put32(f, 76, 0x7FFFFFFF);
        EXPECT_FALSE(readAll(f).isEmpty());
    }
}

TEST(XlsCompoundFile, RandomDamageNeverCrashes) {
    IsolatedEnvironment env;
    const QByteArray good = buildCompoundFile({{QStringLiteral("Workbook"), pattern(20000, 1)},
                                               {QStringLiteral("Small"), pattern(700, 2)},
                                               {QStringLiteral("Other"), pattern(5000, 3)}});
    QRandomGenerator rng(1234);
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        QByteArray f = good;
        const int hits = 1 + rng.bounded(8);
        for (int h = 0; h < hits; ++h) {
            // Aim most damage at the header, directory and FAT where it matters.
            const qsizetype at = rng.bounded(4) == 0 ? rng.bounded(int(f.size())) : rng.bounded(512);
            const qsizetype tail = f.size() - 512 * 3;
            f[rng.bounded(2) ? at : tail + rng.bounded(512 * 3)] = static_cast<char>(rng.bounded(256));
        }
        if (!readAll(f).isEmpty()) ++refused;
    }
    EXPECT_GT(refused, 0);
}
