#include "generator/connection.h"

#include "engine/model/engine_error.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/locale_number.h"
#include "shell/startup_services.h"

#include <cmath>
#include <cstdlib>

namespace generator {

std::unique_ptr<engine::Application> ExcelApp;

namespace {

constexpr const char* kRunningInstanceName = "Microsoft Excel";

std::unique_ptr<engine::Application> builtInEngine() { return engine::createApplication(); }

// The built-in engine runs inside this program: there is never an instance of the
// user's to find.
QString noRunningInstance() { throw engine::EngineError(QStringLiteral("No running instance.")); }

// Ends the process at once: no window gets a close request, no handler of the
// program runs, so nothing is written to the settings store.
void endProgramAtOnce() { std::_Exit(0); }

EngineFactory g_factory = builtInEngine;
RunningInstanceProbe g_probe = noRunningInstance;
ProgramEnd g_programEnd = endProgramAtOnce;

// A new instance; throws when the factory gives none.
std::unique_ptr<engine::Application> createInstance() {
    std::unique_ptr<engine::Application> app = g_factory();
    if (!app) throw engine::EngineError(QStringLiteral("The spreadsheet application could not be started."));
    return app;
}

QString notCreatableText() {
    return QStringLiteral(
               "Error 842001. A normal instance of Excel could not be created.\r\n\r\n"
               "1. Please make sure Excel is installed on this computer.\r\n\r\n"
               "2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any "
               "interrupting window (such as an Excel file recovery window).\r\n\r\n"
               "3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally "
               "without any interrupting messages.\r\n\r\n"
               "4. All versions of Excel are supported by this software except for the rare Excel Starter and "
               "Student editions.");
}

// The nearest whole number, a half going to the even neighbour (16.5 gives 16).
double roundHalfToEven(double x) {
    const double below = std::floor(x);
    const double diff = x - below;
    if (diff < 0.5) return below;
    if (diff > 0.5) return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace

void setEngineFactory(EngineFactory factory) { g_factory = factory ? std::move(factory) : builtInEngine; }

void setRunningInstanceProbe(RunningInstanceProbe probe) { g_probe = probe ? std::move(probe) : noRunningInstance; }

void setProgramEnd(ProgramEnd end) { g_programEnd = end ? std::move(end) : endProgramAtOnce; }

void CheckExcelCreatable() {
    std::unique_ptr<engine::Application> app;
    shell::untrapped([&] { app = g_factory(); });
    if (app) {
        shell::untrapped([&] { app.reset(); });  // the instance closes with its last reference
        return;
    }
    shell::MsgBox(notCreatableText(), shell::BoxButtons::Ok, shell::BoxIcon::None);
    g_programEnd();
}

bool IsExcelRunning() {
    bool running = false;
    shell::untrapped([&] { running = g_probe() == QLatin1String(kRunningInstanceName); });
    return running;
}

bool WarnIfExcelRunning() {
    if (!IsExcelRunning()) return false;
    const QString text = QStringLiteral(
        "Excel may be open. It is recommended that you close Excel first.\r"
        "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
        "Would you like to proceed anyway?");
    return shell::MsgBox(text, shell::BoxButtons::YesNo, shell::BoxIcon::None) == shell::BoxAnswer::No;
}

void StartExcel() {
    ExcelApp = createInstance();
    // This instance saves only the run's temporary workbook, which is read back at
    // once and copied (with a sync) where the user saves it: waiting for the disk
    // here would buy nothing.
    ExcelApp->SetDurableSaves(false);
}

void ReleaseExcel() { ExcelApp.reset(); }

std::unique_ptr<engine::Application> OpenWorkbookInNewExcel(const QString& path) {
    std::unique_ptr<engine::Application> app = createInstance();
    app->Workbooks().Open(path);
    return app;
}

engine::FileFormat SaveFormatForVersion(engine::Application* app) {
    QString version;
    if (app) {
        version = app->Version();
    } else {
        std::unique_ptr<engine::Application> temporary = createInstance();
        version = temporary->Version();
        temporary->Quit();
    }
    const double major = roundHalfToEven(shell::ToDouble(shell::ToLocaleDecimal(version)));
    return major <= 11 ? engine::FileFormat::Normal : engine::FileFormat::Excel8;
}

}  // namespace generator
