#include "records/program_windows.h"

#include "generator/startup_checks.h"

namespace records {
namespace {

preview::Form2Services previewServices(Form1& form1, std::function<void()> endProgram) {
    preview::Form2Services services;
    services.showMainWindow = [&form1] { form1.show(); };
    services.storeRecordList = [&form1] { form1.StoreRecordList(); };
    if (endProgram) services.endProgram = std::move(endProgram);
    return services;
}

Form1Services mainServices(Form1& form1, preview::Form2& form2, const generator::EngineSession& engine,
                           generator::GenerationRun& run) {
    Form1Services services;
    services.checkExcelCreatable = [&engine] { generator::ensureEngineAvailable(engine); };
    services.warnIfExcelRunning = [] { return generator::stopForRunningSpreadsheet(); };
    services.generateReport = [&form1, &form2, &run] { run.run(form1, form1, form2); };
    return services;
}

}  // namespace

// Each window's services refer to the other, which exists by the time any runs.
ProgramWindows::ProgramWindows(std::function<void()> endProgram)
    : m_form2(previewServices(m_form1, std::move(endProgram))), m_form1(mainServices(m_form1, m_form2, m_engine, m_run)) {}

void ProgramWindows::Start() {
    m_form1.Form_Load();
    m_form1.show();
}

}  // namespace records
