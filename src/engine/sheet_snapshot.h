#pragma once

#include "engine/model/cell_types.h"

#include <memory>

namespace engine {

struct SheetData;
struct WorkbookData;
class Range;

// What a picture of a range is painted from (Range::Snapshot): the sheet's cells,
// formats, sizes and merged areas, the workbook's styles and palette, and the
// range's area. Cheap to copy and safe to keep: it outlives its workbook and the
// application the workbook was open in.
//
// It shares the workbook's data instead of copying it, so taking one costs nothing
// however large the sheet. What it shows is fixed once the workbook is closed,
// which is when it is meant to be painted from: a change made to the workbook while
// it is still open shows in it too.
class SheetSnapshot {
public:
    const WorkbookData& workbook() const { return *m_data; }
    const SheetData& sheet() const { return *m_sheet; }
    // The range's area.
    const CellArea& area() const { return m_area; }
    // The same sheet with another area (a print area, say).
    SheetSnapshot withArea(const CellArea& area) const { return SheetSnapshot(m_data, m_sheet, area); }

private:
    friend class Range;
    SheetSnapshot(std::shared_ptr<const WorkbookData> data, const SheetData* sheet, const CellArea& area)
        : m_data(std::move(data)), m_sheet(sheet), m_area(area) {}

    std::shared_ptr<const WorkbookData> m_data;
    const SheetData* m_sheet;
    CellArea m_area;
};

}  // namespace engine
