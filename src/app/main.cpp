// Starts the program on its main window.
#include "app/program_windows.h"
#include "shell/allocator_tuning.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    shell::TuneAllocator();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    shell::InstallFontSubstitutions();

    app::ProgramWindows windows;
    windows.start();
    return app.exec();
}
