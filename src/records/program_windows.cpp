#include "records/program_windows.h"

#include "generator/connection.h"
#include "generator/generation_run.h"

namespace records {
namespace {

preview::Form2Services previewServices(Form1& form1, std::function<void()> endProgram) {
    preview::Form2Services services;
    services.showMainWindow = [&form1] { form1.show(); };
    services.storeRecordList = [&form1] { form1.StoreRecordList(); };
    if (endProgram) services.endProgram = std::move(endProgram);
    return services;
}

Form1Services mainServices(Form1& form1, preview::Form2& form2) {
    Form1Services services;
    services.checkExcelCreatable = generator::CheckExcelCreatable;
    services.warnIfExcelRunning = generator::WarnIfExcelRunning;
    services.generateReport = [&form1, &form2] { generator::GenerateReport0(form1, form1, form2); };
    return services;
}

}  // namespace

// Each window's services refer to the other, which exists by the time any runs.
ProgramWindows::ProgramWindows(std::function<void()> endProgram)
    : m_form2(previewServices(m_form1, std::move(endProgram))), m_form1(mainServices(m_form1, m_form2)) {}

void ProgramWindows::Start() {
    m_form1.Form_Load();
    m_form1.show();
}

}  // namespace records
