#pragma once

#include <functional>

namespace records {

// What the main window asks of the workbook generator. The program wires the real
// routines; tests script them. An unset service does nothing (and answers false).
struct Form1Services {
    // Last step of the load: returns when a workbook can be generated, else tells
    // the user and ends the program.
    std::function<void()> checkExcelCreatable;
    // True when the create-template command is to stop.
    std::function<bool()> warnIfExcelRunning;
    // The generation run.
    std::function<void()> generateReport;
};

}  // namespace records
