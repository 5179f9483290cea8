#include "generator/startup_checks.h"

#include "engine/model/engine_error.h"
#include "generator/engine_session.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"

#include <cstdlib>

namespace generator {
namespace {

// The name the probe gives for the application the warning is about.
constexpr const char* kRunningSpreadsheetName = "Microsoft Excel";

const QString kNotAvailableText = QStringLiteral(
    "Error 842001. A normal instance of Excel could not be created.\r\n\r\n"
    "1. Please make sure Excel is installed on this computer.\r\n\r\n"
    "2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any "
    "interrupting window (such as an Excel file recovery window).\r\n\r\n"
    "3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally "
    "without any interrupting messages.\r\n\r\n"
    "4. All versions of Excel are supported by this software except for the rare Excel Starter and "
    "Student editions.");

const QString kRunningSpreadsheetQuestion = QStringLiteral(
    "Excel may be open. It is recommended that you close Excel first.\r"
    "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
    "Would you like to proceed anyway?");

}  // namespace

void endProgramAtOnce() { std::_Exit(0); }

void ensureEngineAvailable(const EngineSession& session, const ProgramEnd& endProgram) {
    if (session.canMakeInstance()) return;
    shell::MsgBox(kNotAvailableText, shell::BoxButtons::Ok, shell::BoxIcon::None);
    (endProgram ? endProgram : endProgramAtOnce)();
}

QString noRunningSpreadsheet() { throw engine::EngineError(QStringLiteral("No running instance.")); }

bool stopForRunningSpreadsheet(const RunningSpreadsheetProbe& probe) {
    bool running = false;
    shell::untrapped([&] { running = probe && probe() == QLatin1String(kRunningSpreadsheetName); });
    if (!running) return false;
    return shell::MsgBox(kRunningSpreadsheetQuestion, shell::BoxButtons::YesNo, shell::BoxIcon::None) ==
           shell::BoxAnswer::No;
}

}  // namespace generator
