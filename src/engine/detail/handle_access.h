#pragma once

#include "engine/detail/engine_state.h"
#include "engine/detail/sheet_editor.h"

#include <memory>

// What the handles share to reach their state: checked access to a sheet for
// reading and for editing.
namespace engine::detail {

inline SheetEditor editorFor(const std::shared_ptr<WorkbookState>& book, SheetData* sheet) {
    return SheetEditor(*book, *checkedView(book, sheet).sheet);
}

// The effective format of the area's top-left cell.
inline const CellStyle& topLeftStyle(const std::shared_ptr<WorkbookState>& book, SheetData* sheet,
                                     const CellArea& area) {
    checkedView(book, sheet);
    return book->data.styles.style(sheet->effectiveStyle(area.firstRow, area.firstCol));
}

}  // namespace engine::detail
