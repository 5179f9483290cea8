// The program's start up to its main window shown, and no further: the program's
// windows are made and started exactly as the program's main() does it; once the
// shown main window's pending events have run, the probe ends. The start-up
// benchmark times this process from launch to exit.
#include "records/program_windows.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    shell::InstallFontSubstitutions();

    records::ProgramWindows windows;
    windows.Start();
    QCoreApplication::processEvents();
    return windows.MainWindow().isVisible() ? 0 : 1;
}
