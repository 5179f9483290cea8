// Starts the program on its main window.
#include "records/program_windows.h"
#include "shell/allocator_tuning.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    shell::TuneAllocator();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    shell::InstallFontSubstitutions();

    records::ProgramWindows windows;
    windows.Start();
    return app.exec();
}
