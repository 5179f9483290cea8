#include "shell/error_trap.h"
#include "shell/failure.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString kMail = QStringLiteral("Please email screenshot of this message to support@quenvale.example");

// A routine without a trap of its own, a few calls deep.
void innermost() { throw shell::Failure(QStringLiteral("Deep failure")); }
void sharedRoutine() { innermost(); }

// Dialogs whose box itself fails.
class ThrowingDialogs : public shell::Dialogs {
public:
    shell::BoxAnswer message(const QString&, const QString&, shell::BoxButtons, shell::BoxIcon) override {
        ++calls;
        throw std::runtime_error("box failed");
    }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    int calls = 0;
};

}  // namespace

TEST(ErrorBoxText, JoinsThePiecesExactly) {
    EXPECT_EQ(shell::errorBoxText(QStringLiteral("D"), shell::errorLocationText(shell::ErrorLocation::StartCreatingTemplate), 104),
              QStringLiteral("D\r\nin Marrowby2021/08/31.Form1.PushButton1_Click at line 104\r\r") + kMail);
}

TEST(ErrorBoxText, EmptyDescriptionBeginsWithLineBreak) {
    const QString text = shell::errorBoxText(QString(), shell::errorLocationText(shell::ErrorLocation::CopyPicture), 100);
    EXPECT_TRUE(text.startsWith(QStringLiteral("\r\nin Marrowby2021/08/31.Preview.CopyPicture at line 100\r\r")));
}

TEST(ErrorBoxText, DescriptionIsShownUntrimmed) {
    const QString text = shell::errorBoxText(QStringLiteral("  spaced \n"), shell::errorLocationText(shell::ErrorLocation::PreviewLoad), 102);
    EXPECT_TRUE(text.startsWith(QStringLiteral("  spaced \n\r\n")));
}

TEST(Trap, EachFailureGivesOneWarningBoxAndTheProcedureGoesOn) {
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    shell::Trap trap(dialogs, shell::ErrorLocation::MainWindowLoad);
    QStringList ran;

    trap(102, [&] { throw shell::Failure(QStringLiteral("First")); ran << "102"; });
    trap(104, [&] { ran << "104"; });
    trap(106, [&] { throw std::runtime_error("Second"); });
    const bool completed = trap(108, [&] { ran << "108"; });

    EXPECT_EQ(ran, (QStringList{"104", "108"}));
    EXPECT_TRUE(completed);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.title, QStringLiteral("Application Error"));
        EXPECT_EQ(box.buttons, shell::BoxButtons::Ok);
        EXPECT_EQ(box.icon, shell::BoxIcon::Warning);
    }
    EXPECT_EQ(dialogs.boxes[0].text,
              QStringLiteral("First\r\nin Marrowby2021/08/31.Form1.Form_Load at line 102\r\r") + kMail);
    EXPECT_EQ(dialogs.boxes[1].text,
              QStringLiteral("Second\r\nin Marrowby2021/08/31.Form1.Form_Load at line 106\r\r") + kMail);
}

TEST(Trap, FailureInsideSharedRoutineIsReportedAtTheCallingStatement) {
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    shell::Trap trap(dialogs, shell::ErrorLocation::MainWindowLoad);
    bool nextRan = false;

    EXPECT_FALSE(trap(102, [] { sharedRoutine(); }));
    trap(104, [&] { nextRan = true; });

    EXPECT_TRUE(nextRan);
    ASSERT_EQ(dialogs.errorTexts().size(), 1);
    EXPECT_TRUE(dialogs.errorTexts()[0].startsWith(
        QStringLiteral("Deep failure\r\nin Marrowby2021/08/31.Form1.Form_Load at line 102\r\r")));
}

TEST(Trap, UnknownExceptionGivesEmptyDescription) {
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    shell::Trap trap(dialogs, shell::ErrorLocation::PreviewRedraw);
    trap(120, [] { throw 42; });
    ASSERT_EQ(dialogs.errorTexts().size(), 1);
    EXPECT_TRUE(dialogs.errorTexts()[0].startsWith(QStringLiteral("\r\nin Marrowby2021/08/31.Form2.RedrawImage at line 120")));
}

TEST(Trap, FailingBoxDoesNotEscapeTheProcedure) {
    IsolatedEnvironment env;
    ThrowingDialogs dialogs;
    shell::Trap trap(dialogs, shell::ErrorLocation::DeleteSelectedRecord);
    bool nextRan = false;
    EXPECT_NO_THROW(trap(100, [] { throw shell::Failure(QStringLiteral("x")); }));
    trap(102, [&] { nextRan = true; });
    EXPECT_EQ(dialogs.calls, 1);
    EXPECT_TRUE(nextRan);
}

TEST(Untrapped, NothingEscapesAndNothingIsShown) {
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    EXPECT_FALSE(shell::untrapped([] { throw shell::Failure(QStringLiteral("a")); }));
    EXPECT_FALSE(shell::untrapped([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(shell::untrapped([] { throw 7; }));
    int runs = 0;
    EXPECT_TRUE(shell::untrapped([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(Failure, DescribeKeepsTheDescription) {
    const QString text = QStringLiteral("Überlauf — ✓");
    EXPECT_EQ(shell::describe(shell::Failure(text)), text);
    EXPECT_EQ(shell::describe(std::runtime_error("plain")), QStringLiteral("plain"));
}
