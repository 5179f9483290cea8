#include "generator/page_setup.h"

#include "generator/connection.h"
#include "shell/failure.h"

namespace generator {

QString PrintAreaText;

void SetupPage() {
    if (!ExcelApp) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    engine::Application& excel = *ExcelApp;
    const engine::PageSetup page = excel.ActiveSheet().PageSetup();
    // The print area comes first, so that it stays even when a later step fails.
    page.SetPrintArea(PrintAreaText);
    page.SetLeftMargin(excel.InchesToPoints(0.7));
    page.SetRightMargin(excel.InchesToPoints(0.7));
    page.SetTopMargin(excel.InchesToPoints(0.5));
    page.SetBottomMargin(excel.InchesToPoints(0.5));
    page.SetHeaderMargin(excel.InchesToPoints(0));
    page.SetFooterMargin(excel.InchesToPoints(0));
    page.SetPrintComments(engine::PrintComments::None);
    page.SetOrientation(engine::Orientation::Landscape);
    page.SetPaperSize(engine::PaperSize::A4);
    page.SetZoom(false);
    page.SetFitToPagesWide(1);
    page.SetFitToPagesTall(1);
}

}  // namespace generator
