#pragma once

namespace preview {

class SheetCanvas;

// The canvas as screen readers see it: a table (QAccessibleTableInterface) of the
// sheet's picture, a row for each sheet row shown and a column for each column, each
// cell with the text the picture shows, a merged area (the title) as one cell, the
// summary's labels and the column headings as column headers of the cells under them.
// The cell under the canvas's cell cursor has the focus while the canvas has it.

// Lets Qt's accessibility make the canvas's table; any number of calls install it once.
void installSheetAccessibility();
// Tells screen readers that the canvas shows another sheet.
void announceNewSheet(SheetCanvas& canvas);
// Tells screen readers that the cell cursor is on another cell.
void announceCursorCell(SheetCanvas& canvas);

}  // namespace preview
