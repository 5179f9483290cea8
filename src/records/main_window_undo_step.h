#pragma once

// For the main window's own sources only.
#include "records/list_change.h"
#include "records/main_window.h"

namespace records {

// Notes the rows, the selection and the percentage when a command starts and,
// when the command has changed the rows or the percentage by its end, pushes one
// undo step. A command that another runs (Load Sample/Example Data runs Add
// Record) is part of the other's step.
class MainWindow::UndoStep {
public:
    UndoStep(MainWindow& window, const char* commandName);
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    MainWindow& m_window;
    const char* m_commandName;
    bool m_recording = false;
    ListState m_before;
};

}  // namespace records
