// How a worksheet prints: the page setup of the object model over PageSetupData.
#include "engine/detail/checked_enum.h"
#include "engine/detail/handle_access.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/worksheet.h"

namespace engine {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kMaxMarginPoints = 49 * kPointsPerInch;

double checkedMarginInches(double points) {
    if (!(points >= 0 && points <= kMaxMarginPoints))
        throw EngineError(QStringLiteral("A margin must be between 0 and 49 inches."));
    return points / kPointsPerInch;
}

int checkedFitPages(int pages) {
    if (pages < 0 || pages > 32767)
        throw EngineError(QStringLiteral("The number of pages to fit to must be between 0 and 32767."));
    return pages;
}

}  // namespace

PageSetup::PageSetup(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet)
    : m_book(std::move(book)), m_sheet(sheet) {}

PageSetupData& PageSetup::page() const {
    detail::checkedView(m_book, m_sheet);
    return m_sheet->pageSetup;
}

QString PageSetup::PrintArea() const {
    const auto& area = page().printArea;
    return area ? areaReference(*area, true) : QString();
}

void PageSetup::SetPrintArea(const QString& area) const {
    page().printArea = area.isEmpty() ? std::nullopt : std::optional<CellArea>(parseRangeReference(area));
}

double PageSetup::LeftMargin() const { return page().leftMargin * kPointsPerInch; }
void PageSetup::SetLeftMargin(double points) const { page().leftMargin = checkedMarginInches(points); }
double PageSetup::RightMargin() const { return page().rightMargin * kPointsPerInch; }
void PageSetup::SetRightMargin(double points) const { page().rightMargin = checkedMarginInches(points); }
double PageSetup::TopMargin() const { return page().topMargin * kPointsPerInch; }
void PageSetup::SetTopMargin(double points) const { page().topMargin = checkedMarginInches(points); }
double PageSetup::BottomMargin() const { return page().bottomMargin * kPointsPerInch; }
void PageSetup::SetBottomMargin(double points) const { page().bottomMargin = checkedMarginInches(points); }
double PageSetup::HeaderMargin() const { return page().headerMargin * kPointsPerInch; }
void PageSetup::SetHeaderMargin(double points) const { page().headerMargin = checkedMarginInches(points); }
double PageSetup::FooterMargin() const { return page().footerMargin * kPointsPerInch; }
void PageSetup::SetFooterMargin(double points) const { page().footerMargin = checkedMarginInches(points); }

PrintComments PageSetup::PrintComments() const { return page().printComments; }

void PageSetup::SetPrintComments(engine::PrintComments mode) const {
    page().printComments = detail::checkedEnum(mode, engine::PrintComments::InPlace, "comment printing mode");
}

Orientation PageSetup::Orientation() const { return page().orientation; }

void PageSetup::SetOrientation(engine::Orientation orientation) const {
    page().orientation = detail::checkedEnum(orientation, engine::Orientation::Landscape, "orientation");
}

PaperSize PageSetup::PaperSize() const { return page().paperSize; }

void PageSetup::SetPaperSize(engine::PaperSize size) const {
    const int number = static_cast<int>(size);
    if (number < 1 || number > 255) throw EngineError(QStringLiteral("The paper size %1 is not known.").arg(number));
    page().paperSize = size;
}

std::optional<int> PageSetup::Zoom() const { return page().zoom; }

void PageSetup::SetZoom(bool zoom) const {
    if (zoom) throw EngineError(QStringLiteral("Zoom takes a percentage, or false to fit the page."));
    page().zoom = std::nullopt;
}

void PageSetup::SetZoom(int percent) const {
    if (percent < 10 || percent > 400) throw EngineError(QStringLiteral("Zoom must be between 10 and 400 percent."));
    page().zoom = percent;
}

int PageSetup::FitToPagesWide() const { return page().fitToPagesWide; }
void PageSetup::SetFitToPagesWide(int pages) const { page().fitToPagesWide = checkedFitPages(pages); }
int PageSetup::FitToPagesTall() const { return page().fitToPagesTall; }
void PageSetup::SetFitToPagesTall(int pages) const { page().fitToPagesTall = checkedFitPages(pages); }

}  // namespace engine
