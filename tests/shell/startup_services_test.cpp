#include "shell/dialogs.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scoped_default_locale.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(AppTitle, CutsTheLastWordAtLeastOnce) {
    EXPECT_EQ(shell::TitleFromName(QStringLiteral("Alpha Beta Gamma")), QStringLiteral("Alpha Beta"));
    EXPECT_EQ(shell::TitleFromName(QStringLiteral("Alpha Beta")), QStringLiteral("Alpha"));
    // Exactly 40 characters still loses its last word.
    const QString forty = QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi");
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(shell::TitleFromName(forty), QStringLiteral("abcdefghij abcdefghi abcdefghi"));
}

TEST(AppTitle, LongNamesLoseWordsUntilFortyCharactersOrFewer) {
    const QString fifty = QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi abcdefghi");
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(shell::TitleFromName(fifty), QStringLiteral("abcdefghij abcdefghi abcdefghi abcdefghi"));

    const QString many = QStringLiteral("one two three four five six seven eight nine ten eleven");
    EXPECT_EQ(shell::TitleFromName(many), QStringLiteral("one two three four five six seven eight"));
}

TEST(AppTitle, OneWordIsKept) {
    EXPECT_EQ(shell::TitleFromName(QStringLiteral("Quenvale")), QStringLiteral("Quenvale"));
    // A long first word cannot be cut further and stays whole.
    const QString longWord(45, QLatin1Char('a'));
    EXPECT_EQ(shell::TitleFromName(longWord + QStringLiteral(" tail")), longWord);
    EXPECT_EQ(shell::TitleFromName(QString()), QString());
}

TEST(AppTitle, TitlesTheProgramsBoxes) {
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    shell::SetAppTitle();
    EXPECT_EQ(shell::AppTitle(), QStringLiteral("Quenvale"));
    shell::MsgBox(QStringLiteral("Hello"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Quenvale"));
}

TEST(ProgramFolder, IsTheExecutablesFolderUnlessOverridden) {
    EXPECT_EQ(shell::ProgramFolder(), QCoreApplication::applicationDirPath());
    shell::setProgramFolderForTesting(QStringLiteral("/opt/somewhere"));
    EXPECT_EQ(shell::ProgramFolder(), QStringLiteral("/opt/somewhere"));
    EXPECT_EQ(shell::ProgramFile(QStringLiteral("x/o.cjs")), QStringLiteral("/opt/somewhere/x/o.cjs"));
    EXPECT_EQ(shell::ProgramFile(QStringLiteral("HAND-M.CUR")), QStringLiteral("/opt/somewhere/HAND-M.CUR"));
    shell::setProgramFolderForTesting(QString());
    EXPECT_EQ(shell::ProgramFolder(), QCoreApplication::applicationDirPath());
}

TEST(JoinPath, AddsOneSeparator) {
    EXPECT_EQ(shell::JoinPath(QStringLiteral("/tmp/a"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/a/temp.bmp"));
    EXPECT_EQ(shell::JoinPath(QStringLiteral("/tmp/a/"), QStringLiteral("temp.bmp")), QStringLiteral("/tmp/a/temp.bmp"));
}

TEST(DecimalSeparator, FollowsTheUsersLocale) {
    {
        ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(shell::DecimalSeparator(), QStringLiteral("."));
        EXPECT_EQ(shell::ToLocaleDecimal(QStringLiteral("16.0")), QStringLiteral("16.0"));
        EXPECT_EQ(shell::ToLocaleDecimal(QStringLiteral("16,0")), QStringLiteral("16.0"));
    }
    {
        ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(shell::DecimalSeparator(), QStringLiteral(","));
        EXPECT_EQ(shell::ToLocaleDecimal(QStringLiteral("16.0")), QStringLiteral("16,0"));
        EXPECT_EQ(shell::ToLocaleDecimal(QStringLiteral("1.2,3")), QStringLiteral("1,2,3"));
        EXPECT_EQ(shell::ToLocaleDecimal(QString()), QString());
    }
}
