#pragma once

#include "engine/application.h"
#include "engine/detail/style_change.h"
#include "engine/model/sheet.h"

#include <QString>
#include <memory>
#include <vector>

// The state behind the object model's handles. Handles hold shared pointers, so a
// handle outliving its workbook or application stays safe: it finds them closed
// and fails with a clear description.
namespace engine::detail {

struct AppState;

// A sheet the object model can reach: deleted sheets have none.
struct SheetView {
    SheetData* sheet = nullptr;
};

struct WorkbookState {
    WorkbookData data;
    QString name;  // "Book1", or the file name
    QString path;  // empty until saved or opened
    AppState* app = nullptr;  // null once closed
    QString closedReason;
    std::vector<SheetView> views;  // one per sheet, in the order of data.sheets
    // Deleted sheets stay allocated, so that a handle to one can never meet another
    // sheet at its address.
    std::vector<std::unique_ptr<SheetData>> deletedSheets;
    StyleChanger styleChanger{data.styles};
    bool needsCalculation = false;  // a cell changed since formulas were last evaluated
    // The font style name read last, with its bold and italic flags: a layout names
    // the same few styles over and over, mostly with one shared text.
    QString lastFontStyleName;
    std::pair<bool, bool> lastFontStyle{};
    // The data as snapshots share them (SheetSnapshot): while any snapshot lives,
    // closing keeps the sheets for it, and the last one to go lets them go.
    std::weak_ptr<const WorkbookData> sharedData;

    WorkbookState() = default;
    WorkbookState(const WorkbookState&) = delete;
    WorkbookState& operator=(const WorkbookState&) = delete;

    // Throws EngineError when the workbook is closed.
    void ensureOpen() const {
        if (!app) failClosed();
    }
    // The view of a sheet of this workbook; throws when the sheet was deleted.
    SheetView& view(const SheetData* sheet) {
        for (SheetView& v : views) {
            if (v.sheet == sheet) return v;
        }
        failDeleted();
    }
    int indexOf(const SheetData* sheet) const;  // 0-based, -1 when absent
    SheetData& activeSheet() {
        ensureOpen();
        return *data.sheets.at(static_cast<std::size_t>(data.activeSheet));
    }
    void addSheet(std::unique_ptr<SheetData> sheet);
    void deleteSheet(const SheetData* sheet);
    void close(const QString& reason);
    // The data for a snapshot; `self` is this state's own pointer, which the shared
    // data keep alive.
    std::shared_ptr<const WorkbookData> shareData(const std::shared_ptr<WorkbookState>& self);

private:
    [[noreturn]] void failClosed() const;
    [[noreturn]] static void failDeleted();
    // Lets go of the sheets on a worker thread.
    void releaseSheets();
};

struct AppState {
    bool durableSaves = true;  // SaveAs syncs the file to the disk
    bool quit = false;
    int booksAdded = 0;
    std::vector<std::shared_ptr<WorkbookState>> workbooks;  // open, in order
    std::shared_ptr<WorkbookState> active;

    void ensureRunning() const;
    WorkbookState& activeBook();
    const std::shared_ptr<WorkbookState>& activeBookPtr() {
        if (quit || !active) failNoActiveBook();
        return active;
    }
    void activate(const std::shared_ptr<WorkbookState>& book);
    void remove(WorkbookState* book);
    void closeAll(const QString& reason);

private:
    [[noreturn]] void failNoActiveBook() const;
};

// Checks that book is open and sheet is still one of its sheets; returns its view.
inline SheetView& checkedView(const std::shared_ptr<WorkbookState>& book, const SheetData* sheet) {
    book->ensureOpen();
    return book->view(sheet);
}

}  // namespace engine::detail
