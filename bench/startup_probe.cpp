// The program's start up to its main window shown, and no further: the program
// starts through the same start-up function as its main(); once the shown main
// window's pending events have run, the probe prints its peak memory and ends.
// The start-up benchmark times this process from launch to exit.
#include "app/program_start.h"
#include "shell/allocator_tuning.h"
#include "shell/dialogs.h"

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// The resident high-water mark of this process in kilobytes. A process's own
// figure: the one its parent learns on exit also counts the parent's memory at
// the time of the launch.
long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    shell::tuneAllocator();
    QApplication app(argc, argv);
    shell::QtDialogs dialogs;
    const auto windows = app::startProgram(shell::ProgramContext(dialogs));
    QCoreApplication::processEvents();
    std::printf("peak_kb=%ld\n", peakResidentKb());
    return windows->mainWindow().isVisible() ? 0 : 1;
}
