#include "engine/application.h"

#include "engine/detail/engine_state.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"

namespace engine {

Application::Application() : m_app(std::make_shared<detail::AppState>()) {}

// The instance ends with its last reference, as if quit: objects taken from it
// that outlive it fail from then on.
Application::~Application() {
    if (m_app->quit) return;
    m_app->closeAll(QStringLiteral("The spreadsheet application has been released."));
    m_app->quit = true;
}

detail::AppState& Application::running() const {
    m_app->ensureRunning();
    return *m_app;
}

bool Application::DurableSaves() const { return running().durableSaves; }
void Application::SetDurableSaves(bool on) { running().durableSaves = on; }

Workbooks Application::Workbooks() const {
    m_app->ensureRunning();
    return engine::Workbooks(m_app);
}

Workbook Application::ActiveWorkbook() const { return Workbook(m_app->activeBookPtr()); }

Worksheet Application::ActiveSheet() const {
    const auto& book = m_app->activeBookPtr();
    return Worksheet(book, &book->activeSheet());
}

Sheets Application::Sheets() const { return engine::Sheets(m_app->activeBookPtr()); }

namespace {

// The area that read(reference) gives, on the active sheet of the active workbook.
template <typename Read>
Range onActiveSheet(detail::AppState& app, const QString& reference, Read&& read) {
    const auto& book = app.activeBookPtr();
    SheetData& sheet = book->activeSheet();
    return Range(book, &sheet, read(reference));
}

}  // namespace

Range Application::Cells() const { return ActiveSheet().Cells(); }
Range Application::Range(const QString& reference) const {
    return onActiveSheet(*m_app, reference, parseRangeReference);
}
Range Application::Rows(const QString& rows) const { return onActiveSheet(*m_app, rows, parseRowsReference); }
Range Application::Columns(const QString& columns) const {
    return onActiveSheet(*m_app, columns, parseColumnsReference);
}
Range Application::Cells(int row, int column) const { return ActiveSheet().Cells(row, column); }
Range Application::Range(const engine::Range& cell1, const engine::Range& cell2) const {
    return ActiveSheet().Range(cell1, cell2);
}
Range Application::Rows(int first, int last) const { return ActiveSheet().Rows(first, last); }
Range Application::Columns(int first, int last) const { return ActiveSheet().Columns(first, last); }

Range Application::Selection() const {
    const auto& book = m_app->activeBookPtr();
    SheetData& sheet = book->activeSheet();
    return engine::Range(book, &sheet, sheet.selection);
}

Range Application::ActiveCell() const {
    const auto& book = m_app->activeBookPtr();
    SheetData& sheet = book->activeSheet();
    const CellAddress at = sheet.activeCell;
    return engine::Range(book, &sheet, CellArea{at.row, at.col, at.row, at.col});
}

double Application::InchesToPoints(double inches) const {
    m_app->ensureRunning();
    return inches * 72.0;
}

void Application::Quit() {
    m_app->ensureRunning();
    m_app->closeAll(QStringLiteral("The spreadsheet application has quit."));
    m_app->quit = true;
}

std::unique_ptr<Application> createApplication() { return std::make_unique<Application>(); }

}  // namespace engine
