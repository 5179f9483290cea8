#include "shell/dialogs.h"
#include "shell/program_context.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AppTitle, CutsTheLastWordAtLeastOnce) {
    EXPECT_EQ(shell::titleFromName(QStringLiteral("Alpha Beta Gamma")), QStringLiteral("Alpha Beta"));
    EXPECT_EQ(shell::titleFromName(QStringLiteral("Alpha Beta")), QStringLiteral("Alpha"));
    // Exactly 40 characters still loses its last word.
    const QString forty = QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi");
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(shell::titleFromName(forty), QStringLiteral("abcdefghij abcdefghi abcdefghi"));
}

TEST(AppTitle, LongNamesLoseWordsUntilFortyCharactersOrFewer) {
    const QString fifty = QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi abcdefghi");
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(shell::titleFromName(fifty), QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi"));

    const QString many = QStringLiteral("one two three four five six seven eight nine ten eleven");
    EXPECT_EQ(shell::titleFromName(many), QStringLiteral("one two three four five six seven eight"));
}

TEST(AppTitle, OneWordIsKept) {
    EXPECT_EQ(shell::titleFromName(QStringLiteral("Quenvale")), QStringLiteral("Quenvale"));
    // A long first word cannot be cut further and stays whole.
    const QString longWord(45, QLatin1Char('a'));
    EXPECT_EQ(shell::titleFromName(longWord + QStringLiteral(" tail")), longWord);
    EXPECT_EQ(shell::titleFromName(QString()), QString());
}

TEST(AppTitle, TitlesTheProgramsBoxes) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(shell::appTitle(), QStringLiteral("Quenvale"));
    dialogs.showMessage(QStringLiteral("Hello"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Quenvale"));
}

TEST(ProgramFolder, IsTheExecutablesFolderUnlessGiven) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(shell::ProgramContext(dialogs).programFolder(), QCoreApplication::applicationDirPath());
    const shell::ProgramContext elsewhere(dialogs, QStringLiteral("/opt/somewhere"));
    EXPECT_EQ(elsewhere.programFile(QStringLiteral("x/o.cjs")), QStringLiteral("/opt/somewhere/x/o.cjs"));
    EXPECT_EQ(elsewhere.programFile(QStringLiteral("HAND-M.CUR")), QStringLiteral("/opt/somewhere/HAND-M.CUR"));
}

// An installed layout: the program in root/bin, its shipped files in
// root/share/quenvale. What stands beside the program comes first.
TEST(ProgramFile, BesideTheProgramFirstThenWhereTheInstallationPutsIt) {
    struct Case {
        const char* what;
        QStringList present;  // relative to root
        const char* expected;  // relative to root
    };
    const Case cases[] = {
        {"only installed", {"share/quenvale/x/o.cjs"}, "share/quenvale/x/o.cjs"},
        {"only beside", {"bin/x/o.cjs"}, "bin/x/o.cjs"},
        {"both", {"bin/x/o.cjs", "share/quenvale/x/o.cjs"}, "bin/x/o.cjs"},
        {"a folder beside hides the installed file", {"bin/x/o.cjs/", "share/quenvale/x/o.cjs"}, "bin/x/o.cjs"},
        {"neither", {}, "bin/x/o.cjs"},
    };
    ScriptedDialogs dialogs;
    for (const Case& c : cases) {
        QTemporaryDir root;
        const QDir dir(root.path());
        dir.mkpath(QStringLiteral("bin"));
        for (const QString& path : c.present) {
            if (path.endsWith(QLatin1Char('/'))) {
                ASSERT_TRUE(dir.mkpath(path));
                continue;
            }
            dir.mkpath(QFileInfo(dir.filePath(path)).path());
            QFile file(dir.filePath(path));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << c.what;
        }
        const shell::ProgramContext context(dialogs, dir.filePath(QStringLiteral("bin")));
        EXPECT_EQ(context.programFile(QStringLiteral("x/o.cjs")), dir.filePath(QString::fromLatin1(c.expected))) << c.what;
    }
}

TEST(JoinPath, AddsOneSeparator) {
    EXPECT_EQ(shell::joinPath(QStringLiteral("/tmp/a"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/a/temp.bmp"));
    EXPECT_EQ(shell::joinPath(QStringLiteral("/tmp/a/"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/a/temp.bmp"));
}

