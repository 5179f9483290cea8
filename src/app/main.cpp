// Starts the program on its main window.
#include "app/program_start.h"
#include "shell/allocator_tuning.h"

#include <QApplication>

int main(int argc, char** argv) {
    shell::TuneAllocator();
    QApplication app(argc, argv);
    const auto windows = app::startProgram();
    return app.exec();
}
