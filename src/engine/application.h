#pragma once

#include "engine/range.h"
#include "engine/workbook.h"
#include "engine/worksheet.h"

#include <QString>
#include <memory>

namespace engine {

namespace detail {
struct AppState;
}

// One instance of the spreadsheet application: its open workbooks, the active
// workbook's active sheet and that sheet's selection. Members reach the active
// workbook and sheet as the object model does and throw EngineError when there is
// none, or after Quit. Releasing the last reference without Quit closes its
// workbooks without saving.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Whether Workbook.SaveAs waits until a file is on the disk (on by default). The
    // engine's own setting, for an instance that only saves files read back at once.
    bool DurableSaves() const;
    void SetDurableSaves(bool on);

    engine::Workbooks Workbooks() const;
    engine::Workbook ActiveWorkbook() const;
    engine::Worksheet ActiveSheet() const;
    engine::Sheets Sheets() const;

    // Ranges of the active sheet, by text or by position (see Worksheet).
    engine::Range Cells() const;
    engine::Range Range(const QString& reference) const;
    engine::Range Rows(const QString& rows) const;
    engine::Range Columns(const QString& columns) const;
    engine::Range Cells(int row, int column) const;
    engine::Range Range(const engine::Range& cell1, const engine::Range& cell2) const;
    engine::Range Rows(int first, int last) const;
    engine::Range Columns(int first, int last) const;
    engine::Range Selection() const;
    engine::Range ActiveCell() const;

    double InchesToPoints(double inches) const;

    // Ends the instance: its workbooks close without saving and every later call
    // on it, or on any object obtained from it, fails.
    void Quit();

private:
    detail::AppState& running() const;  // throws after Quit

    std::shared_ptr<detail::AppState> m_app;
};

// A new instance of the built-in engine.
std::unique_ptr<Application> createApplication();

}  // namespace engine
