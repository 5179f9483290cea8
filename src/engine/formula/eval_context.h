#pragma once

#include "engine/model/cell_types.h"

namespace engine::formula {

// What a formula sees of its workbook while it is evaluated: the values of other
// cells. The implementation computes formula cells on demand and answers a cell
// that is already being computed (a circular reference) with an error value, so
// evaluation always ends.
class EvalContext {
public:
    virtual ~EvalContext();
    // The value of the cell at the 0-based row and column of the formula's sheet.
    virtual CellValue valueAt(int row, int col) = 0;
};

}  // namespace engine::formula
