#include "app/program_start.h"

#include "generator/temp_workbook_name.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QIcon>

namespace app {

std::unique_ptr<ProgramWindows> startProgram(const shell::ProgramContext& context) {
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    // Ties the windows to the installed desktop entry (its icon, the launcher they group with).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUENVALE_APP_ID));
    shell::installFontSubstitutions();
    generator::removeStaleTemporaryFiles();

    auto windows = std::make_unique<ProgramWindows>(context);
    windows->start();
    return windows;
}

}  // namespace app
