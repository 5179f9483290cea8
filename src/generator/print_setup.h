#pragma once

#include "engine/model/cell_types.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <optional>

namespace engine {
struct PageSetupData;
}

namespace generator {

// How a sheet prints, as its page setup holds it: the paper, its orientation, the
// margins, the area printed and the scale, either fixed or fitted to a number of
// pages.
struct PrintSetup {
    QPageSize paper{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins;                          // points
    std::optional<engine::CellArea> printArea;  // none: the area the picture shows
    std::optional<int> zoomPercent;             // set: printed at this scale
    int fitPagesWide = 1;                       // otherwise fitted to so many pages
    int fitPagesTall = 1;                       //   (0: as many as it takes that way)

    // The page as a printer or PDF writer takes it: paper, orientation, margins.
    QPageLayout pageLayout() const;
};

// The page setup stored with a sheet, for printing. Paper sizes the program does
// not know print on Letter, the stored default.
PrintSetup printSetupOf(const engine::PageSetupData& page);

}  // namespace generator
