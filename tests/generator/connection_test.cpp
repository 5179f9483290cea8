#include "generator/connection.h"
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

// Restores the built-in engine and the default hooks after each test.
class Connection : public ::testing::Test {
protected:
    void SetUp() override { shell::SetAppTitle(); }
    void TearDown() override {
        setEngineFactory({});
        setRunningInstanceProbe({});
        setProgramEnd({});
        ReleaseExcel();
        QLocale::setDefault(QLocale::c());
    }
    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
};

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

TEST_F(Connection, BuiltInEngineIsAlwaysCreatable) {
    int ends = 0;
    setProgramEnd([&] { ++ends; });
    CheckExcelCreatable();
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Connection, NoInstanceShowsError842001AndEndsTheProgram) {
    int ends = 0;
    setProgramEnd([&] { ++ends; });
    for (const EngineFactory& failing : {EngineFactory([] { return std::unique_ptr<engine::Application>(); }),
                                         EngineFactory([]() -> std::unique_ptr<engine::Application> {
                                             throw engine::EngineError("cannot start");
                                         })}) {
        dialogs.clear();
        setEngineFactory(failing);
        CheckExcelCreatable();
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
TEST(ConnectionEnd, WithoutAnInstanceTheProcessEndsAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScriptedDialogs dialogs;
            setEngineFactory([] { return std::unique_ptr<engine::Application>(); });
            CheckExcelCreatable();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Connection, RunningInstanceIsOnlyWhatReadsAsTheSpreadsheet) {
    EXPECT_FALSE(IsExcelRunning());  // the built-in engine has no shared instance
    setRunningInstanceProbe([] { return QStringLiteral("Microsoft Excel"); });
    EXPECT_TRUE(IsExcelRunning());
    setRunningInstanceProbe([] { return QStringLiteral("Microsoft Word"); });
    EXPECT_FALSE(IsExcelRunning());
    setRunningInstanceProbe([]() -> QString { throw shell::Failure("cannot attach"); });
    EXPECT_FALSE(IsExcelRunning());
}

TEST_F(Connection, NoRunningInstanceAsksNothing) {
    setRunningInstanceProbe([]() -> QString { throw shell::Failure("cannot attach"); });
    EXPECT_FALSE(WarnIfExcelRunning());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Connection, RunningInstanceAsksWhetherToProceed) {
    setRunningInstanceProbe([] { return QStringLiteral("Microsoft Excel"); });
    dialogs.answers = {shell::BoxAnswer::Yes, shell::BoxAnswer::No};
    EXPECT_FALSE(WarnIfExcelRunning());  // Yes: go on
    EXPECT_TRUE(WarnIfExcelRunning());   // No: stop
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.text, kRunningQuestion);
        EXPECT_EQ(box.title, shell::AppTitle());
        EXPECT_EQ(box.buttons, shell::BoxButtons::YesNo);
        EXPECT_EQ(box.icon, shell::BoxIcon::None);
    }
}

TEST_F(Connection, StartAndReleaseTheRunsInstance) {
    StartExcel();
    ASSERT_TRUE(ExcelApp);
    EXPECT_EQ(ExcelApp->Workbooks().Count(), 0);
    // It saves only the run's temporary workbook: no waiting for the disk.
    EXPECT_FALSE(ExcelApp->DurableSaves());
    ReleaseExcel();
    EXPECT_FALSE(ExcelApp);
    setEngineFactory([] { return std::unique_ptr<engine::Application>(); });
    EXPECT_THROW(StartExcel(), engine::EngineError);
    EXPECT_FALSE(ExcelApp);
}

TEST_F(Connection, SaveFormatFollowsTheMajorVersion) {
    using engine::FileFormat;
    const std::pair<const char*, FileFormat> cases[] = {
        {"11.0", FileFormat::Normal}, {"12.0", FileFormat::Excel8}, {"15.0", FileFormat::Excel8},
        {"16.0", FileFormat::Excel8}, {"9.0", FileFormat::Normal},
        // Halves go to the even neighbour.
        {"11.5", FileFormat::Excel8}, {"12.5", FileFormat::Excel8}, {"10.5", FileFormat::Normal},
        {"11.4", FileFormat::Normal},
    };
    for (const auto& [version, format] : cases) {
        engine::Application app(QString::fromLatin1(version));
        EXPECT_EQ(SaveFormatForVersion(&app), format) << version;
    }
}

TEST_F(Connection, SaveFormatAsksATemporaryInstanceWhenGivenNone) {
    setEngineFactory([] { return engine::createApplication("11.0"); });
    EXPECT_EQ(SaveFormatForVersion(nullptr), engine::FileFormat::Normal);
    setEngineFactory({});
    EXPECT_EQ(SaveFormatForVersion(nullptr), engine::FileFormat::Excel8);
}

TEST_F(Connection, VersionIsReadUnderTheUsersDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    engine::Application eleven("11.0");
    engine::Application sixteen("16,0");
    EXPECT_EQ(SaveFormatForVersion(&eleven), engine::FileFormat::Normal);
    EXPECT_EQ(SaveFormatForVersion(&sixteen), engine::FileFormat::Excel8);
}

TEST_F(Connection, VersionThatIsNoNumberFails) {
    engine::Application app("sixteen");
    EXPECT_THROW(SaveFormatForVersion(&app), shell::Failure);
}

}  // namespace
