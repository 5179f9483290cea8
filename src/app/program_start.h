#pragma once

#include "app/program_windows.h"

#include <memory>

namespace app {

// What the program does once its QApplication exists: the window icon, the
// desktop entry's id, the font substitutions, the leftovers of earlier runs
// removed from the temporary folder, then the two windows made, the main window
// loaded and shown.
// The windows live as long as the returned object; they take their dialogs and
// program folder from context, which outlives them.
std::unique_ptr<ProgramWindows> startProgram(const shell::ProgramContext& context);

}  // namespace app
