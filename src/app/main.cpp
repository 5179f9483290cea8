// Starts the program: on its main window, or, given any argument, as a command
// line that writes the workbook without a window or a display.
#include "app/command_line.h"
#include "app/program_start.h"
#include "app/single_instance.h"
#include "shell/allocator_tuning.h"
#include "shell/dialogs.h"
#include "shell/font_substitutions.h"
#include "shell/settings_store.h"
#include "shell/transient_files.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    // Before any thread starts: an interrupted program removes its partial files.
    shell::removeTransientFilesOnInterruption();
    shell::tuneAllocator();
    if (app::startsAsCommandLine(argc)) {
        app::prepareCommandLine();
        QGuiApplication app(argc, argv);
        // The picture and the PDF show the sheet's fonts as the preview does.
        shell::installFontSubstitutions();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return app::runCommandLine(QGuiApplication::arguments(), out, err);
    }
    QApplication app(argc, argv);
    // A second start brings the running windows to the front and ends.
    app::SingleInstance instance(shell::programSettingsFolder());
    if (!instance.claim()) return 0;
    shell::QtDialogs dialogs;
    const auto windows = app::startProgram(shell::ProgramContext(dialogs));
    QObject::connect(&instance, &app::SingleInstance::activationRequested, [&windows] { windows->bringToFront(); });
    return app.exec();
}
