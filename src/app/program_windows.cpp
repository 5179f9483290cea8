#include "app/program_windows.h"

namespace app {
namespace {

preview::PreviewWindowServices previewServices(records::MainWindow& mainWindow, const generator::EngineSession& engine,
                                               std::function<void()> endProgram) {
    preview::PreviewWindowServices services;
    services.showMainWindow = [&mainWindow] { mainWindow.show(); };
    services.storeRecordListBeforeEnd = [&mainWindow] { return mainWindow.storeRecordListBeforeEnd(); };
    if (endProgram) services.endProgram = std::move(endProgram);
    services.engine = &engine;
    return services;
}

// Every call into the generator that the main window makes, in one place.
records::MainWindowServices mainServices(records::MainWindow& mainWindow, preview::PreviewWindow& previewWindow,
                                         generator::GenerationRun& run) {
    records::MainWindowServices services;
    services.runGeneration = [&mainWindow, &previewWindow, &run] { run.run(mainWindow, mainWindow, previewWindow); };
    return services;
}

}  // namespace

// Each window's services refer to the other, which exists by the time any runs.
ProgramWindows::ProgramWindows(const shell::ProgramContext& context, std::function<void()> endProgram)
    : m_generationRun(m_engine, context.dialogs()),
      m_previewWindow(context, previewServices(m_mainWindow, m_engine, std::move(endProgram))),
      m_mainWindow(context, mainServices(m_mainWindow, m_previewWindow, m_generationRun)) {}

void ProgramWindows::start() {
    m_mainWindow.load();
    m_mainWindow.show();
}

void ProgramWindows::bringToFront() {
    QWidget& shown = m_previewWindow.isVisible() ? static_cast<QWidget&>(m_previewWindow) : m_mainWindow;
    if (shown.isMinimized()) shown.showNormal();
    shown.raise();
    shown.activateWindow();
}

}  // namespace app
