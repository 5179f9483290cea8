#pragma once

#include "engine/model/page_setup.h"
#include "engine/range.h"

#include <QString>
#include <memory>
#include <optional>

namespace engine {

struct SheetData;
struct PageSetupData;
namespace detail {
struct WorkbookState;
}

// How a worksheet prints. Margins are read and written in points (72 to the inch).
class PageSetup {
public:
    PageSetup(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet);

    // An A1-style range text such as "A1:I9"; the empty text removes the print area.
    QString PrintArea() const;
    void SetPrintArea(const QString& area) const;
    double LeftMargin() const;
    void SetLeftMargin(double points) const;
    double RightMargin() const;
    void SetRightMargin(double points) const;
    double TopMargin() const;
    void SetTopMargin(double points) const;
    double BottomMargin() const;
    void SetBottomMargin(double points) const;
    double HeaderMargin() const;
    void SetHeaderMargin(double points) const;
    double FooterMargin() const;
    void SetFooterMargin(double points) const;
    engine::PrintComments PrintComments() const;
    void SetPrintComments(engine::PrintComments mode) const;
    engine::Orientation Orientation() const;
    void SetOrientation(engine::Orientation orientation) const;
    engine::PaperSize PaperSize() const;
    void SetPaperSize(engine::PaperSize size) const;  // 1 to 255
    // The scale in percent, or empty when the page is fitted (Zoom = false).
    std::optional<int> Zoom() const;
    void SetZoom(bool zoom) const;  // only false is accepted: fit to pages
    void SetZoom(int percent) const;  // 10 to 400
    int FitToPagesWide() const;
    void SetFitToPagesWide(int pages) const;
    int FitToPagesTall() const;
    void SetFitToPagesTall(int pages) const;

private:
    PageSetupData& page() const;  // checks the sheet first

    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
};

// A worksheet of an open workbook: a light handle, cheap to copy.
class Worksheet {
public:
    Worksheet(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet);

    QString Name() const;
    // 1 to 31 characters, none of : \ / ? * [ ], unique in the workbook.
    void SetName(const QString& name) const;
    // Removes the sheet; the last sheet of a workbook cannot be deleted.
    void Delete() const;
    // Makes the sheet the active one of its workbook.
    void Select() const;

    engine::Range Range(const QString& reference) const;
    engine::Range Cells() const;
    engine::Range Rows(const QString& rows) const;        // "7:7", "1:3"
    engine::Range Columns(const QString& columns) const;  // "A:A", "E:J"
    // By position, 1-based: one cell; the rectangle that two ranges of this sheet
    // span (given either way round); whole rows; whole columns. A position outside
    // the sheet (65536 rows, 256 columns) throws EngineError.
    engine::Range Cells(int row, int column) const;
    engine::Range Range(const engine::Range& cell1, const engine::Range& cell2) const;
    engine::Range Rows(int first, int last) const;
    engine::Range Columns(int first, int last) const;
    // The smallest rectangle holding every cell with a value or a format of its own
    // (A1 on an empty sheet).
    engine::Range UsedRange() const;
    engine::PageSetup PageSetup() const;

    const SheetData& Data() const;

private:
    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
};

}  // namespace engine
