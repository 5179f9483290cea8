#pragma once

#include "engine/model/cell_types.h"

#include <cstdint>
#include <optional>

namespace engine {

// Where cell comments print.
enum class PrintComments { None, AtEndOfSheet, InPlace };

enum class Orientation { Portrait, Landscape };

// Paper sizes by the numbers the .xls format stores them with (1 to 255; those
// without a name here are kept as read).
enum class PaperSize : std::uint16_t { Letter = 1, A4 = 9 };

// Page setup as stored with the sheet. Margins in inches.
struct PageSetupData {
    std::optional<CellArea> printArea;
    double leftMargin = 0.7, rightMargin = 0.7, topMargin = 0.75, bottomMargin = 0.75;
    double headerMargin = 0.3, footerMargin = 0.3;
    PrintComments printComments = PrintComments::None;
    Orientation orientation = Orientation::Portrait;
    PaperSize paperSize = PaperSize::Letter;
    std::optional<int> zoom = 100;  // empty: fit to pages
    int fitToPagesWide = 1;
    int fitToPagesTall = 1;
    friend bool operator==(const PageSetupData&, const PageSetupData&) = default;
};

}  // namespace engine
