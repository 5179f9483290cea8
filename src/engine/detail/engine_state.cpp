#include "engine/detail/engine_state.h"

#include "engine/detail/background_release.h"
#include "engine/model/engine_error.h"

#include <algorithm>
#include <iterator>

namespace engine::detail {

void WorkbookState::failClosed() const { throw EngineError(closedReason); }

void WorkbookState::failDeleted() { throw EngineError(QStringLiteral("The worksheet has been deleted.")); }

int WorkbookState::indexOf(const SheetData* sheet) const {
    for (std::size_t i = 0; i < data.sheets.size(); ++i) {
        if (data.sheets[i].get() == sheet) return static_cast<int>(i);
    }
    return -1;
}

void WorkbookState::addSheet(std::unique_ptr<SheetData> sheet) {
    views.push_back(SheetView{sheet.get()});
    data.sheets.push_back(std::move(sheet));
}

void WorkbookState::deleteSheet(const SheetData* sheet) {
    const int index = indexOf(sheet);
    if (index < 0) return;
    deletedSheets.push_back(std::move(data.sheets[static_cast<std::size_t>(index)]));
    data.sheets.erase(data.sheets.begin() + index);
    std::erase_if(views, [&](const SheetView& v) { return v.sheet == sheet; });
    if (data.activeSheet > index || data.activeSheet >= static_cast<int>(data.sheets.size()))
        data.activeSheet = std::max(0, data.activeSheet - 1);
}

void WorkbookState::close(const QString& reason) {
    app = nullptr;
    closedReason = reason;
    // Nothing but a snapshot reads a closed workbook's sheets again (every handle
    // finds it closed first), so without one they are let go of now, on the side,
    // even while handles remain.
    if (sharedData.expired()) releaseSheets();
}

void WorkbookState::releaseSheets() {
    auto sheets = std::make_shared<std::vector<std::unique_ptr<SheetData>>>(std::move(data.sheets));
    std::move(deletedSheets.begin(), deletedSheets.end(), std::back_inserter(*sheets));
    data.sheets.clear();
    deletedSheets.clear();
    if (!sheets->empty()) releaseInBackground([sheets = std::move(sheets)]() mutable { sheets.reset(); });
}

std::shared_ptr<const WorkbookData> WorkbookState::shareData(const std::shared_ptr<WorkbookState>& self) {
    if (std::shared_ptr<const WorkbookData> shared = sharedData.lock()) return shared;
    // The last snapshot to go lets go of the sheets of a workbook closed meanwhile,
    // and of the state itself (which the deleter must not keep: the state's weak
    // pointer keeps the deleter).
    std::shared_ptr<const WorkbookData> shared(&self->data, [owner = self](const WorkbookData*) mutable {
        const std::shared_ptr<WorkbookState> book = std::move(owner);
        if (!book->app) book->releaseSheets();
    });
    sharedData = shared;
    return shared;
}

void AppState::ensureRunning() const {
    if (quit) throw EngineError(QStringLiteral("The spreadsheet application has quit."));
}

void AppState::failNoActiveBook() const {
    ensureRunning();
    throw EngineError(QStringLiteral("No workbook is open."));
}

WorkbookState& AppState::activeBook() { return *activeBookPtr(); }

void AppState::activate(const std::shared_ptr<WorkbookState>& book) { active = book; }

void AppState::remove(WorkbookState* book) {
    std::erase_if(workbooks, [&](const auto& b) { return b.get() == book; });
    if (active.get() == book) active = workbooks.empty() ? nullptr : workbooks.back();
}

void AppState::closeAll(const QString& reason) {
    for (const auto& book : workbooks) book->close(reason);
    workbooks.clear();
    active.reset();
}

}  // namespace engine::detail
