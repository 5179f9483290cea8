// The main window's start and close when the files around it are damaged: the
// settings store unwritable, unreadable, a folder, damaged or on a full disk; the
// skin file garbage, oversized or not a file; a damaged hand cursor. The window
// always opens, the saved list always comes back, a store that cannot be written
// keeps its previous list whole, and a damaged store is set aside once, whole.
#include "file_faults.h"
#include "gtest_printers.h"
#include "preview/preview_window.h"
#include "records/main_window_harness.h"
#include "records/record_messages.h"

#include <QTemporaryDir>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

using faults::readFile;
using faults::writeFile;
using records::CommissionRecord;

const Rows kSample = {{"Aldo Fennick", "5600", "560"}, {"John Smith", "8400", "840"}, {"Zodo Duvevado", "11100", "1110"}};

QString encoded(const Rows& rows) {
    QString value;
    for (const CommissionRecord& r : rows)
        value += r.saleperson + "||SEP1||" + r.totalSalesAmount + "||SEP1||" + r.commissionAmount + "||SEP2||";
    return value;
}

class StartupFileFaults : public ::testing::Test {
protected:
    void SetUp() override { h.programFolder = programFolder.path(); }
    void TearDown() override {
        if (h.window) h.closeWindow();
    }

    QString storeFile() const { return QDir(h.env.configFolder()).filePath("Harrowden/Harrowden.json"); }
    QString programFile(const QString& name) const { return programFolder.filePath(name); }

    // A start on a store holding the sample list at 7.5 percent.
    records::MainWindow& startWithSample() {
        h.store(shell::kKeyCommissionList, encoded(kSample));
        h.store(shell::kKeyCommissionRate, "7.5");
        return h.start();
    }
    void expectSampleLoaded() {
        EXPECT_EQ(h.rows(), kSample);
        EXPECT_EQ(h.window->percentageEdit()->text(), QStringLiteral("7.5"));
        EXPECT_TRUE(h.window->isVisible());
    }
    QStringList errorsAt(const QString& location) const {
        QStringList out;
        for (const QString& head : h.errorHeads())
            if (head.contains(location)) out << head;
        return out;
    }

    MainWindowHarness h;
    QTemporaryDir programFolder;
};

// --- Settings store ------------------------------------------------------------------

TEST_F(StartupFileFaults, StoreFolderTakenByAFileReportsTheCloseAndKeepsTheFile) {
    ASSERT_TRUE(QDir().mkpath(h.env.configFolder()));
    ASSERT_TRUE(writeFile(QFileInfo(storeFile()).absolutePath(), "someone else's file"));
    records::MainWindow& f = h.start();
    EXPECT_EQ(f.recordCount(), 0);

    // Typing a percentage cannot store it; typing goes on without a box or a crash.
    QTest::keyClicks(f.percentageEdit(), "12");
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty());
    h.set(f.nameEdit(), "Ann");
    h.set(f.totalEdit(), "100");
    f.addRecord();
    ASSERT_EQ(f.recordCount(), 1);

    h.closeWindow();
    const QStringList closeErrors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowClose));
    ASSERT_EQ(closeErrors.size(), 1) << h.errorHeads().join(" | ").toStdString();
    EXPECT_TRUE(closeErrors.first().contains("at line 108"));
    EXPECT_TRUE(closeErrors.first().contains("Settings could not be saved")) << closeErrors.first().toStdString();
    EXPECT_EQ(readFile(QFileInfo(storeFile()).absolutePath()), QByteArray("someone else's file"));
}

TEST_F(StartupFileFaults, StoreInAReadOnlyFolderReportsTheClose) {
    // /proc cannot be written even by root.
    qputenv("XDG_CONFIG_HOME", "/proc");
    records::MainWindow& f = h.start();
    EXPECT_EQ(f.recordCount(), 0);
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
    QTest::keyClicks(f.percentageEdit(), "5");
    f.loadSampleData();
    h.closeWindow();
    const QStringList closeErrors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowClose));
    ASSERT_EQ(closeErrors.size(), 1) << h.errorHeads().join(" | ").toStdString();
    EXPECT_TRUE(closeErrors.first().contains("/proc/Harrowden")) << closeErrors.first().toStdString();
}

TEST_F(StartupFileFaults, StoreFileTakenByAFolderReportsAndTheWindowStillWorks) {
    ASSERT_TRUE(QDir().mkpath(storeFile()));
    records::MainWindow& f = h.start();
    EXPECT_EQ(f.recordCount(), 0);
    EXPECT_EQ(f.percentageEdit()->text(), QStringLiteral("10"));
    QTest::keyClicks(f.percentageEdit(), "5");
    f.loadSampleData();  // the sample rows
    EXPECT_EQ(f.recordCount(), 3);
    h.closeWindow();
    EXPECT_FALSE(errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowClose)).isEmpty());
    EXPECT_TRUE(QFileInfo(storeFile()).isDir());
}

// A store file that holds no store is moved aside whole, a section of ours that
// holds anything but texts alone, and reported once; the program goes on with an
// empty store that keeps what is typed from then on.
TEST_F(StartupFileFaults, DamagedStoreIsMovedAsideOnceAndTheProgramGoesOn) {
    const std::vector<std::pair<const char*, QByteArray>> damages = {
        {"cut off by another tool", "{\"Quenvale\": {\"Commission List\": \"Aldo||SEP1||5600||SEP1||5"},
        {"edited by hand", "{\"Quenvale\": {\"Commission Rate\": 12}}"},
        {"binary garbage", QByteArray::fromHex("00ff10d0cf11e0a1b11ae1feff")},
    };
    for (const auto& [what, damaged] : damages) {
        SCOPED_TRACE(what);
        h.env.clearSettings();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(storeFile()).absolutePath()));
        ASSERT_TRUE(writeFile(storeFile(), damaged));
        h.dialogs.clear();

        auto& f = h.start();
        const QStringList loadErrors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowLoad));
        ASSERT_EQ(h.dialogs.errorTexts().size(), 1) << h.errorHeads().join(" | ").toStdString();
        ASSERT_EQ(loadErrors.size(), 1);
        const QStringList aside = QDir(QFileInfo(storeFile()).absolutePath()).entryList({"Harrowden.json.damaged-*"});
        ASSERT_EQ(aside.size(), 1);
        const QString asideFile = QFileInfo(storeFile()).absoluteDir().filePath(aside.first());
        EXPECT_TRUE(loadErrors.first().contains("at line 148")) << loadErrors.first().toStdString();
        EXPECT_TRUE(loadErrors.first().contains(QDir::toNativeSeparators(storeFile()))) << loadErrors.first().toStdString();
        EXPECT_TRUE(loadErrors.first().contains(QDir::toNativeSeparators(asideFile))) << loadErrors.first().toStdString();
        // Kept whole for the user: the file as it was, or our section as it was.
        // (JSON is compared by content: the section is kept, not its spacing.)
        const bool wasJson = QJsonDocument::fromJson(damaged).isObject();
        const auto kept = [&] {
            const QByteArray bytes = readFile(asideFile);
            return wasJson ? QJsonDocument::fromJson(bytes).toJson() : bytes;
        };
        const QByteArray expected = wasJson ? QJsonDocument::fromJson(damaged).toJson() : damaged;
        EXPECT_EQ(kept(), expected);
        EXPECT_TRUE(h.rows().isEmpty());
        EXPECT_EQ(f.percentageEdit()->text(), QStringLiteral("10"));

        // Typing and closing store normally, with no further box.
        f.loadSampleData();  // the sample rows
        f.percentageEdit()->clear();
        QTest::keyClicks(f.percentageEdit(), "12.5");
        const Rows typed = h.rows();
        h.closeWindow();
        EXPECT_EQ(h.dialogs.errorTexts().size(), 1) << h.errorHeads().join(" | ").toStdString();
        h.start();
        EXPECT_EQ(h.rows(), typed);
        EXPECT_EQ(h.window->percentageEdit()->text(), QStringLiteral("12.5"));
        EXPECT_EQ(h.dialogs.errorTexts().size(), 1) << h.errorHeads().join(" | ").toStdString();
        EXPECT_EQ(kept(), expected);
        h.closeWindow();
    }
}

// A store the program cannot read at all is reported and left where it is.
TEST_F(StartupFileFaults, UnreadableStoreIsReportedAndLeftAlone) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file (a folder in its place is tested above)";
    startWithSample();
    h.closeWindow();
    const QByteArray before = readFile(storeFile());
    ASSERT_EQ(::chmod(QFile::encodeName(storeFile()).constData(), 0), 0);
    h.dialogs.clear();
    h.start();
    const QStringList loadErrors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowLoad));
    ASSERT_FALSE(loadErrors.isEmpty()) << h.errorHeads().join(" | ").toStdString();
    EXPECT_TRUE(loadErrors.first().contains("Settings could not be read")) << loadErrors.first().toStdString();
    h.closeWindow();
    ::chmod(QFile::encodeName(storeFile()).constData(), 0600);
    EXPECT_EQ(readFile(storeFile()), before);
    EXPECT_EQ(faults::entriesOf(QFileInfo(storeFile()).absolutePath()), QStringList{"Harrowden.json"});
}

TEST_F(StartupFileFaults, FullDiskAtCloseKeepsThePreviousListWhole) {
    records::MainWindow& f = startWithSample();
    const QByteArray before = readFile(storeFile());
    ASSERT_FALSE(before.isEmpty());
    for (int i = 0; i < 200; ++i) {
        h.set(f.nameEdit(), QStringLiteral("Seller number %1 with a long name").arg(i));
        h.set(f.totalEdit(), QString::number(1000 + i));
        f.addRecord();
    }
    const auto typed = h.rows();
    {
        faults::DiskFull full(before.size() + 512);
        ASSERT_TRUE(full.active());
        // The list that cannot be stored is not lost silently: No keeps the window open.
        h.dialogs.answers = {shell::BoxAnswer::No, shell::BoxAnswer::Yes};
        EXPECT_FALSE(h.window->close());
        EXPECT_TRUE(h.window->isVisible());
        EXPECT_EQ(h.rows(), typed);
        ASSERT_FALSE(h.dialogs.boxes.empty());
        EXPECT_EQ(h.dialogs.boxes.back().text, records::kListNotStoredQuestion);
        h.closeWindow();  // Yes: closed anyway
    }
    const QStringList errors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowClose));
    ASSERT_EQ(errors.size(), 2) << h.errorHeads().join(" | ").toStdString();
    EXPECT_TRUE(errors.first().contains(faults::fullDiskReason())) << errors.first().toStdString();
    EXPECT_EQ(readFile(storeFile()), before);
    h.dialogs.clear();
    h.start();
    expectSampleLoaded();
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty());
}

// A percentage that cannot be stored is said once, and stored with the next change.
TEST_F(StartupFileFaults, FullDiskWhileTypingThePercentageIsSaidOnce) {
    records::MainWindow& f = startWithSample();
    const QByteArray before = readFile(storeFile());
    {
        faults::DiskFull full(16);
        ASSERT_TRUE(full.active());
        QTest::keyClicks(f.percentageEdit(), "25");
    }
    EXPECT_TRUE(h.dialogs.errorTexts().isEmpty());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.startsWith("The commission percentage could not be stored: "))
        << h.dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(readFile(storeFile()), before);
    EXPECT_EQ(h.rows(), kSample);
    QTest::keyClicks(f.percentageEdit(), "5");
    EXPECT_EQ(h.stored(shell::kKeyCommissionRate), f.percentageEdit()->text());
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
}

// --- Skin file -----------------------------------------------------------------------

TEST_F(StartupFileFaults, GarbageSkinLoadsTheWindowWithItsList) {
    ASSERT_TRUE(QDir(programFolder.path()).mkpath("x"));
    static const char kBroken[] = "QWidget { background: \xff\xfe; } }}} {{{ \x00\x01 /* unterminated";
    QByteArray garbage(kBroken, sizeof kBroken - 1);
    for (int i = 0; i < 2000; ++i) garbage += char(i % 256);
    ASSERT_TRUE(writeFile(programFile("x/o.cjs"), garbage));
    startWithSample();
    expectSampleLoaded();
}

TEST_F(StartupFileFaults, OversizedSkinIsReportedAndTheLoadGoesOn) {
    ASSERT_TRUE(QDir(programFolder.path()).mkpath("x"));
    ASSERT_TRUE(writeFile(programFile("x/o.cjs"), QByteArray(3 * 1024 * 1024, '*')));
    startWithSample();
    const QStringList errors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowLoad));
    ASSERT_EQ(errors.size(), 1) << h.errorHeads().join(" | ").toStdString();
    EXPECT_TRUE(errors.first().contains("at line 102"));
    EXPECT_TRUE(errors.first().contains("Skin file could not be read"));
    expectSampleLoaded();
}

TEST_F(StartupFileFaults, SkinThatIsNoFileIsIgnored) {
    struct Case {
        const char* what;
        std::function<bool()> make;
    };
    const QString skin = programFile("x/o.cjs");
    const std::vector<Case> cases = {
        {"a folder", [&] { return QDir().mkpath(skin); }},
        {"a FIFO", [&] { return QDir().mkpath(programFile("x")) && faults::makeFifo(skin); }},
        {"a dangling link", [&] { return QDir().mkpath(programFile("x")) && QFile::link(programFile("x/none"), skin); }},
        {"a link to itself", [&] { return QDir().mkpath(programFile("x")) && QFile::link(skin, skin); }},
        {"a file where its folder belongs", [&] { return writeFile(programFile("x"), "not a folder"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(programFile("x")).removeRecursively();
        QFile::remove(programFile("x"));
        ASSERT_TRUE(c.make());
        h.dialogs.clear();
        startWithSample();
        expectSampleLoaded();
        EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
        h.closeWindow();
    }
}

// --- Hand cursor ---------------------------------------------------------------------

// Cursor files damaged in the ways a copy, a download or a disk can damage them.
std::vector<std::pair<const char*, QByteArray>> damagedCursors() {
    auto le16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); };
    auto le32 = [&](quint32 v) { return le16(int(v & 0xFFFF)) + le16(int(v >> 16)); };
    // Directory header of a cursor with one entry of a 32 x 32 image at offset 22.
    auto header = [&](int count, quint32 size, quint32 offset, int w = 32, int h = 32) {
        return le16(0) + le16(2) + le16(count) + char(w) + char(h) + char(0) + char(0) + le16(4) + le16(4) +
               le32(size) + le32(offset);
    };
    // A bitmap info header claiming the given size.
    auto bitmapHeader = [&](qint32 w, qint32 h, int bits) {
        return le32(40) + le32(quint32(w)) + le32(quint32(h)) + le16(1) + le16(bits) + le32(0) + le32(0) + le32(0) +
               le32(0) + le32(0) + le32(0);
    };
    QByteArray random;
    for (int i = 0; i < 766; ++i) random += char((i * 2654435761u) >> 24);
    return {
        {"empty", QByteArray()},
        {"cut in its header", header(1, 744, 22).left(9)},
        {"no entries", header(0, 744, 22)},
        {"65535 entries", header(65535, 744, 22) + QByteArray(744, 0)},
        {"entry beyond the end", header(1, 744, 0x7FFFFFF0)},
        {"entry of 4 GB", header(1, 0xFFFFFFF0, 22) + bitmapHeader(32, 64, 32)},
        {"image cut short", header(1, 744, 22) + bitmapHeader(32, 64, 1) + QByteArray(20, 0)},
        {"bitmap of 0 x 0", header(1, 744, 22, 0, 0) + bitmapHeader(0, 0, 1) + QByteArray(704, 0)},
        {"bitmap claiming 30000 x 60000", header(1, 744, 22) + bitmapHeader(30000, 60000, 32) + QByteArray(704, 0)},
        {"negative height", header(1, 744, 22) + bitmapHeader(32, -64, 1) + QByteArray(704, 0)},
        {"bit count 0", header(1, 744, 22) + bitmapHeader(32, 64, 0) + QByteArray(704, 0)},
        {"a PNG header and garbage", header(1, 744, 22) + QByteArray::fromHex("89504E470D0A1A0A") + random.left(736)},
        {"random bytes", random},
        {"a text file", QByteArray("this is not a cursor\n").repeated(40)},
    };
}

TEST_F(StartupFileFaults, DamagedHandCursorIsReportedAndTheWindowsOpen) {
    for (const auto& [what, bytes] : damagedCursors()) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(writeFile(programFile("HAND-M.CUR"), bytes));
        h.dialogs.clear();
        records::MainWindow& f = startWithSample();
        expectSampleLoaded();
        // Either the damage is caught (one box, the load goes on) or the file still
        // makes some picture; never more than one box, never a crash.
        const QStringList errors = errorsAt(shell::errorLocationText(shell::ErrorLocation::MainWindowLoad));
        EXPECT_LE(errors.size(), 1) << h.errorHeads().join(" | ").toStdString();
        if (!errors.isEmpty()) {
            EXPECT_TRUE(errors.first().contains("at line 110")) << errors.first().toStdString();
            EXPECT_EQ(f.customPointer().shape(), Qt::PointingHandCursor);
        }
        QTest::mouseMove(f.addRecordButton());
        preview::PreviewWindow previewWindow{h.context(), preview::PreviewWindowServices{[] {}, [] { return true; }, [] {}}};
        previewWindow.ensureLoaded();
        EXPECT_LE(errorsAt(shell::errorLocationText(shell::ErrorLocation::PreviewLoad)).size(), 1);
        h.closeWindow();
        EXPECT_EQ(h.stored(shell::kKeyCommissionList), encoded(kSample));
    }
}

TEST_F(StartupFileFaults, HandCursorThatIsNoFileIsIgnored) {
    const QString cursor = programFile("HAND-M.CUR");
    const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
        {"a folder", [&] { return QDir().mkpath(cursor); }},
        {"a FIFO", [&] { return faults::makeFifo(cursor); }},
        {"a link to a device", [&] { return QFile::link("/dev/zero", cursor); }},
        {"a dangling link", [&] { return QFile::link(programFile("none.cur"), cursor); }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        QDir(cursor).removeRecursively();
        QFile::remove(cursor);
        ASSERT_TRUE(make());
        h.dialogs.clear();
        records::MainWindow& f = startWithSample();
        expectSampleLoaded();
        EXPECT_TRUE(h.dialogs.errorTexts().isEmpty()) << h.errorHeads().join(" | ").toStdString();
        EXPECT_EQ(f.customPointer().shape(), Qt::PointingHandCursor);
        h.closeWindow();
    }
}

}  // namespace
