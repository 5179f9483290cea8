#include "shell/atomic_file.h"
#include "shell/failure.h"
#include "support/isolated_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(AtomicFile, ReplacesExistingFileOnlyWhenComplete) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.xls");
    writeText(path, "old");

    shell::writeFileAtomically(path, [](QIODevice& out) { return out.write("new content") == 11; });
    EXPECT_EQ(readAll(path), "new content");
    EXPECT_EQ(entries(dir.path()), QStringList{"book.xls"});
}

TEST(AtomicFile, AbandonedWriteKeepsOldFileAndLeavesNothingBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath("book.xls");
    writeText(path, "old");

    EXPECT_THROW(shell::writeFileAtomically(path, [](QIODevice& out) {
                     out.write("half");
                     return false;
                 }),
                 shell::Failure);
    EXPECT_THROW(shell::writeFileAtomically(path, [](QIODevice& out) -> bool {
                     out.write("half");
                     throw shell::Failure("disk full");
                 }),
                 shell::Failure);
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{"book.xls"});
}

TEST(AtomicFile, UnwritableTargetsFailWithAClearDescription) {
    QTemporaryDir dir;
    try {
        shell::writeFileAtomically(dir.filePath("missing/book.xls"), [](QIODevice&) { return true; });
        FAIL() << "a missing folder must fail";
    } catch (const shell::Failure& f) {
        EXPECT_TRUE(f.description().contains("folder does not exist")) << f.description().toStdString();
    }
    QDir(dir.path()).mkdir("folder.xls");
    try {
        shell::writeFileAtomically(dir.filePath("folder.xls"), [](QIODevice&) { return true; });
        FAIL() << "a folder must not be replaced";
    } catch (const shell::Failure& f) {
        EXPECT_TRUE(f.description().contains("is a folder")) << f.description().toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.xls")).isDir());
}

TEST(AtomicFile, LinkAtTargetOfADocumentIsFollowedAndKept) {
    QTemporaryDir dir;
    const QString document = dir.filePath("kept.xls");
    writeText(document, "old");
    const QString link = dir.filePath("book.xls");
    ASSERT_TRUE(QFile::link(document, link));

    shell::writeFileAtomically(link, [](QIODevice& out) { return out.write("new content") == 11; });
    EXPECT_EQ(readAll(document), "new content");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(entries(dir.path()), (QStringList{"book.xls", "kept.xls"}));
}

TEST(AtomicFile, FileLivingWithinTheRunIsStillWrittenWholeAndNeverThroughALink) {
    QTemporaryDir dir;
    const QString victim = dir.filePath("victim.txt");
    writeText(victim, "precious");
    const QString link = dir.filePath("temp.bmp");
    ASSERT_TRUE(QFile::link(victim, link));

    shell::writeFileAtomically(
        link, [](QIODevice& out) { return out.write("picture") == 7; }, shell::Durability::WithinRun);
    EXPECT_EQ(readAll(victim), "precious");
    EXPECT_EQ(readAll(link), "picture");
    EXPECT_THROW(shell::writeFileAtomically(
                     link, [](QIODevice& out) { return out.write("half") < 0; }, shell::Durability::WithinRun),
                 shell::Failure);
    EXPECT_EQ(readAll(link), "picture");
    EXPECT_EQ(entries(dir.path()), (QStringList{"temp.bmp", "victim.txt"}));
}

TEST(AtomicFile, CopyIsByteForByte) {
    QTemporaryDir dir;
    QByteArray data;
    for (int i = 0; i < 300000; ++i) data.append(char(i * 7));
    writeText(dir.filePath("a.xls"), data);
    shell::copyFileAtomically(dir.filePath("a.xls"), dir.filePath("b.xls"));
    EXPECT_EQ(readAll(dir.filePath("b.xls")), data);
    EXPECT_THROW(shell::copyFileAtomically(dir.filePath("none.xls"), dir.filePath("c.xls")), shell::Failure);
    EXPECT_FALSE(QFile::exists(dir.filePath("c.xls")));
}
