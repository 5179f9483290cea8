#include "generator/engine_session.h"
#include "generator/startup_checks.h"
#include "engine/model/engine_error.h"
#include "engine/workbook.h"
#include "shell/failure.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QLocale>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace generator;

namespace {

class EngineSessionTest : public ::testing::Test {
protected:
    void SetUp() override { shell::SetAppTitle(); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
};

const EngineFactory kNoEngine = [] { return std::unique_ptr<engine::Application>(); };

// The probe finding an application that reads as the given name.
RunningSpreadsheetProbe probeFinding(const char* name) {
    return [name] { return QString::fromLatin1(name); };
}
const RunningSpreadsheetProbe kProbeFailing = []() -> QString { throw shell::Failure("cannot attach"); };

const QString kNotCreatable = QStringLiteral(
    "Error 842001. A normal instance of Excel could not be created.\r\n\r\n"
    "1. Please make sure Excel is installed on this computer.\r\n\r\n"
    "2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any interrupting "
    "window (such as an Excel file recovery window).\r\n\r\n"
    "3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally without any "
    "interrupting messages.\r\n\r\n"
    "4. All versions of Excel are supported by this software except for the rare Excel Starter and Student "
    "editions.");

const QString kRunningQuestion = QStringLiteral(
    "Excel may be open. It is recommended that you close Excel first.\r"
    "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
    "Would you like to proceed anyway?");

TEST_F(EngineSessionTest, BuiltInEngineIsAlwaysCreatable) {
    int ends = 0;
    ensureEngineAvailable(EngineSession(), [&] { ++ends; });
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(EngineSessionTest, NoInstanceShowsError842001AndEndsTheProgram) {
    int ends = 0;
    for (const EngineFactory& failing : {EngineFactory([] { return std::unique_ptr<engine::Application>(); }),
                                         EngineFactory([]() -> std::unique_ptr<engine::Application> {
                                             throw engine::EngineError("cannot start");
                                         })}) {
        dialogs.clear();
        ensureEngineAvailable(EngineSession(failing), [&] { ++ends; });
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, kNotCreatable);
        EXPECT_EQ(dialogs.boxes[0].title, shell::AppTitle());
        EXPECT_EQ(dialogs.boxes[0].buttons, shell::BoxButtons::Ok);
        EXPECT_EQ(dialogs.boxes[0].icon, shell::BoxIcon::None);
    }
    EXPECT_EQ(ends, 2);
}

// The real end: the process stops inside the call with code 0; had the call
// returned, the code would be 3.
TEST(StartupCheckEnd, WithoutAnInstanceTheProcessEndsAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScriptedDialogs dialogs;
            ensureEngineAvailable(EngineSession(kNoEngine));
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(EngineSessionTest, OnlyWhatReadsAsTheSpreadsheetIsAskedAbout) {
    // The built-in engine shares no instance; another name or a failing probe is nothing found.
    for (const RunningSpreadsheetProbe& probe :
         {RunningSpreadsheetProbe(noRunningSpreadsheet), probeFinding("Microsoft Word"), kProbeFailing}) {
        EXPECT_FALSE(stopForRunningSpreadsheet(probe));
    }
    EXPECT_FALSE(stopForRunningSpreadsheet());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(EngineSessionTest, RunningSpreadsheetAsksWhetherToProceed) {
    dialogs.answers = {shell::BoxAnswer::Yes, shell::BoxAnswer::No};
    EXPECT_FALSE(stopForRunningSpreadsheet(probeFinding("Microsoft Excel")));  // Yes: go on
    EXPECT_TRUE(stopForRunningSpreadsheet(probeFinding("Microsoft Excel")));   // No: stop
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.text, kRunningQuestion);
        EXPECT_EQ(box.title, shell::AppTitle());
        EXPECT_EQ(box.buttons, shell::BoxButtons::YesNo);
        EXPECT_EQ(box.icon, shell::BoxIcon::None);
    }
}

TEST_F(EngineSessionTest, StartAndReleaseTheRunsInstance) {
    EngineSession session;
    EXPECT_THROW(session.instance(), shell::Failure);
    session.start();
    EXPECT_EQ(session.instance().Workbooks().Count(), 0);
    // It saves only the run's temporary workbook: no waiting for the disk.
    EXPECT_FALSE(session.instance().DurableSaves());
    session.release();
    EXPECT_THROW(session.instance(), shell::Failure);
    EngineSession none(kNoEngine);
    EXPECT_THROW(none.start(), engine::EngineError);
    EXPECT_THROW(none.instance(), shell::Failure);
}

}  // namespace
