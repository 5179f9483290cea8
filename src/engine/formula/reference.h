#pragma once

#include "engine/model/cell_types.h"

#include <QString>

namespace engine::formula {

// How a formula's text writes references: "R[-3]C[-2]" or "B4".
enum class ReferenceStyle { R1C1, A1 };

// One cell of a reference as a formula stores it. A relative row or column is an
// offset from the formula's own cell, an absolute one a 0-based index, so the same
// formula means "the cell to my left" wherever it stands.
struct RefPart {
    int row = 0;
    int col = 0;
    bool rowRelative = true;
    bool colRelative = true;
    friend bool operator==(const RefPart&, const RefPart&) = default;

    // The part for the 0-based cell (row, col) as seen from the cell `at`.
    static RefPart fromAbsolute(int row, int col, bool rowRelative, bool colRelative, CellAddress at);

    int absoluteRow(CellAddress at) const { return rowRelative ? at.row + row : row; }
    int absoluteCol(CellAddress at) const { return colRelative ? at.col + col : col; }
    bool isInsideSheet(CellAddress at) const {
        const int r = absoluteRow(at);
        const int c = absoluteCol(at);
        return r >= 0 && r < kMaxRows && c >= 0 && c < kMaxColumns;
    }
};

// The area two parts span as seen from `at`, normalised; only meaningful when both
// parts are inside the sheet.
CellArea resolveArea(const RefPart& first, const RefPart& last, CellAddress at);

// "$B4", "C$7"; "#REF!" when the part falls outside the sheet as seen from `at`.
QString toA1(const RefPart& part, CellAddress at);
// "R4C2", "R[-3]C[-2]", "RC".
QString toR1C1(const RefPart& part);

}  // namespace engine::formula
