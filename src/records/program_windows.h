#pragma once

#include "generator/engine_session.h"
#include "generator/generation_run.h"
#include "preview/form2.h"
#include "records/form1.h"

#include <functional>

namespace records {

// The program's two windows wired to each other and to the generator: the main
// window's create-template command runs the generation run into the preview
// window; the preview's Back shows the main window again, and closing the
// preview stores the record list before the program ends.
class ProgramWindows {
public:
    // endProgram ends the program from the preview window; QApplication::quit when empty.
    explicit ProgramWindows(std::function<void()> endProgram = {});

    // Loads the main window and shows it.
    void Start();

    Form1& MainWindow() { return m_form1; }
    preview::Form2& PreviewWindow() { return m_form2; }
    generator::GenerationRun& Run() { return m_run; }

private:
    generator::EngineSession m_engine;
    generator::GenerationRun m_run{m_engine};
    preview::Form2 m_form2;
    Form1 m_form1;
};

}  // namespace records
