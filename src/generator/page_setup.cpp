#include "generator/page_setup.h"

#include "engine/application.h"

namespace generator {

void setUpPage(engine::Application& app, const engine::Range& printArea) {
    const engine::PageSetup page = app.ActiveSheet().PageSetup();
    page.SetPrintArea(printArea.Address());
    page.SetLeftMargin(app.InchesToPoints(0.7));
    page.SetRightMargin(app.InchesToPoints(0.7));
    page.SetTopMargin(app.InchesToPoints(0.5));
    page.SetBottomMargin(app.InchesToPoints(0.5));
    page.SetHeaderMargin(app.InchesToPoints(0));
    page.SetFooterMargin(app.InchesToPoints(0));
    page.SetPrintComments(engine::PrintComments::None);
    page.SetOrientation(engine::Orientation::Landscape);
    page.SetPaperSize(engine::PaperSize::A4);
    page.SetZoom(false);
    page.SetFitToPagesWide(1);
    page.SetFitToPagesTall(1);
}

}  // namespace generator
