#include "app/program_windows.h"

#include "generator/connection.h"
#include "generator/generation_run.h"

namespace app {
namespace {

preview::PreviewWindowServices previewServices(records::MainWindow& mainWindow, std::function<void()> endProgram) {
    preview::PreviewWindowServices services;
    services.showMainWindow = [&mainWindow] { mainWindow.show(); };
    services.storeRecordList = [&mainWindow] { mainWindow.storeRecordList(); };
    if (endProgram) services.endProgram = std::move(endProgram);
    return services;
}

// Every call into the generator that the main window makes, in one place.
records::MainWindowServices mainServices(records::MainWindow& mainWindow, preview::PreviewWindow& previewWindow) {
    records::MainWindowServices services;
    services.checkEngineAvailable = generator::CheckExcelCreatable;
    services.shouldStopBeforeGeneration = generator::WarnIfExcelRunning;
    services.runGeneration = [&mainWindow, &previewWindow] {
        generator::GenerateReport0(mainWindow, mainWindow, previewWindow);
    };
    return services;
}

}  // namespace

// Each window's services refer to the other, which exists by the time any runs.
ProgramWindows::ProgramWindows(std::function<void()> endProgram)
    : m_previewWindow(previewServices(m_mainWindow, std::move(endProgram))),
      m_mainWindow(mainServices(m_mainWindow, m_previewWindow)) {}

void ProgramWindows::start() {
    m_mainWindow.load();
    m_mainWindow.show();
}

}  // namespace app
