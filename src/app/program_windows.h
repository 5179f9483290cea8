#pragma once

#include "generator/engine_session.h"
#include "generator/generation_run.h"
#include "preview/preview_window.h"
#include "records/main_window.h"

#include <functional>

namespace app {

// The program's two windows wired to each other and to the generator: the main
// window's create-template command runs the generation run into the preview
// window; the preview's Back shows the main window again, and closing the
// preview stores the record list before the program ends.
class ProgramWindows {
public:
    // The windows and the run take their dialogs and program folder from context;
    // endProgram ends the program from the preview window, QApplication::quit when empty.
    explicit ProgramWindows(const shell::ProgramContext& context, std::function<void()> endProgram = {});

    // Loads the main window and shows it.
    void start();
    // Brings the window the user works in (the preview while it is shown) to the front.
    void bringToFront();

    records::MainWindow& mainWindow() { return m_mainWindow; }
    preview::PreviewWindow& previewWindow() { return m_previewWindow; }
    generator::GenerationRun& generationRun() { return m_generationRun; }

private:
    generator::EngineSession m_engine;
    generator::GenerationRun m_generationRun;
    preview::PreviewWindow m_previewWindow;
    records::MainWindow m_mainWindow;
};

}  // namespace app
