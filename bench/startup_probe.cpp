// The program's start up to its main window shown, and no further: the windows are
// made and wired exactly as the program's main() does it, the main window loaded
// and shown; once the shown window's pending events have run, the probe ends. The
// start-up benchmark times this process from launch to exit.
#include "generator/connection.h"
#include "generator/generation_run.h"
#include "preview/form2.h"
#include "records/form1.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    shell::InstallFontSubstitutions();

    records::Form1* mainWindow = nullptr;
    preview::Form2* previewWindow = nullptr;

    preview::Form2Services previewServices;
    previewServices.showMainWindow = [&] { mainWindow->show(); };
    previewServices.storeRecordList = [&] { mainWindow->StoreRecordList(); };
    preview::Form2 form2(previewServices);
    previewWindow = &form2;

    records::Form1Services mainServices;
    mainServices.checkExcelCreatable = generator::CheckExcelCreatable;
    mainServices.warnIfExcelRunning = generator::WarnIfExcelRunning;
    mainServices.generateReport = [&] { generator::GenerateReport0(*mainWindow, *mainWindow, *previewWindow); };
    records::Form1 form1(mainServices);
    mainWindow = &form1;

    form1.Form_Load();
    form1.show();
    QCoreApplication::processEvents();
    return form1.isVisible() ? 0 : 1;
}
