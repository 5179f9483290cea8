// The sheet on paper: the page setup it carries, the scale and page breaks of a
// print, and the PDF file written whole or not at all.
#include "generator/sheet_printing.h"
#include "engine/model/page_setup.h"
#include "listed_records.h"
#include "shell/failure.h"
#include "support/isolated_environment.h"
#include "support/qt_gtest_printers.h"
#include "support/test_files.h"

#include <QDir>
#include <QPageRanges>
#include <QPdfWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using generator::PrintSetup;

TEST(PrintSetup, OfTheCommissionSheetIsOneLandscapeA4Page) {
    IsolatedEnvironment env;
    const PrintSetup setup = numberedRecordsPicture(3).printSetup();
    EXPECT_EQ(setup.paper.id(), QPageSize::A4);
    EXPECT_EQ(setup.orientation, QPageLayout::Landscape);
    EXPECT_EQ(setup.margins, QMarginsF(50.4, 36, 50.4, 36));
    EXPECT_EQ(setup.printArea, (engine::CellArea{0, 0, 9, 8}));  // A1:I10, the totals included
    EXPECT_FALSE(setup.zoomPercent);
    EXPECT_EQ(std::pair(setup.fitPagesWide, setup.fitPagesTall), std::pair(1, 1));
    const QPageLayout page = setup.pageLayout();
    EXPECT_EQ(page.fullRect(QPageLayout::Point).size().toSize(), QSize(842, 595));
    EXPECT_EQ(page.margins(QPageLayout::Point), setup.margins);
    EXPECT_NEAR(page.paintRect(QPageLayout::Point).width(), 842 - 100.8, 0.01);
    EXPECT_NEAR(page.paintRect(QPageLayout::Point).height(), 595 - 72, 0.01);
}

TEST(PrintSetup, PaperTheProgramDoesNotKnowAndMarginsWiderThanThePaper) {
    engine::PageSetupData stored;
    stored.paperSize = static_cast<engine::PaperSize>(200);
    stored.leftMargin = stored.rightMargin = 10;  // inches, on paper 8.5 inches wide
    const QPageLayout page = generator::printSetupOf(stored).pageLayout();
    EXPECT_EQ(page.pageSize().id(), QPageSize::Letter);
    // An inch is left to print on, the two margins shrunk alike.
    EXPECT_NEAR(page.paintRect(QPageLayout::Point).width(), 72, 0.01);
    EXPECT_NEAR(page.margins().left(), page.margins().right(), 0.01);
}

TEST(PrintPercent, FitsToPagesBetweenTenAndAHundredOrTakesTheZoom) {
    const QSizeF page(700, 500);
    const struct {
        const char* what;
        QSizeF area;
        std::optional<int> zoom;
        int wide, tall;
        int percent;
    } cases[] = {
        {"fits as it is", {600, 400}, std::nullopt, 1, 1, 100},
        {"too tall: the whole percent below", {600, 1000}, std::nullopt, 1, 1, 50},
        {"too wide", {2100, 400}, std::nullopt, 1, 1, 33},
        {"two pages tall", {600, 1500}, std::nullopt, 1, 2, 66},
        {"as many pages tall as it takes", {1400, 90000}, std::nullopt, 1, 0, 50},
        {"never below ten", {600, 50000}, std::nullopt, 1, 1, 10},
        {"a zoom of its own", {600, 1000}, 150, 1, 1, 150},
        {"a zoom beyond the largest", {600, 1000}, 1000, 1, 1, 400},
        {"a zoom below the smallest", {600, 1000}, 5, 1, 1, 10},
    };
    for (const auto& c : cases) {
        PrintSetup setup;
        setup.zoomPercent = c.zoom;
        setup.fitPagesWide = c.wide;
        setup.fitPagesTall = c.tall;
        EXPECT_EQ(generator::printPercent(c.area, page, setup), c.percent) << c.what;
    }
}

TEST(PageSpans, BreakBetweenRowsAndCutOnlyARowLongerThanAPage) {
    using Spans = std::vector<std::pair<int, int>>;
    const struct {
        const char* what;
        std::vector<int> edges;
        double extent;
        Spans spans;
    } cases[] = {
        {"all on one page", {0, 10, 20, 30}, 100, {{0, 30}}},
        {"whole rows to a page", {0, 10, 20, 30, 40}, 25, {{0, 20}, {20, 40}}},
        {"a row that just fits", {0, 10, 20, 30}, 10, {{0, 10}, {10, 20}, {20, 30}}},
        {"a row longer than a page", {0, 5, 75, 80}, 30, {{0, 5}, {5, 35}, {35, 65}, {65, 80}}},
        {"nothing shown", {0}, 30, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(generator::pageSpans(c.edges, c.extent), c.spans) << c.what;
}

class SheetPrint : public ::testing::Test {
protected:
    IsolatedEnvironment env;
    // The printable part of an A4 landscape page with the sheet's margins.
    const QSizeF a4Landscape{841.89 - 100.8, 595.28 - 72};
};

TEST_F(SheetPrint, TheSampleOnOnePageAtFullSize) {
    const generator::SheetPicture picture = numberedRecordsPicture(3);
    const generator::SheetPicture printed = generator::printAreaOf(picture);
    EXPECT_EQ(printed.area(), (engine::CellArea{0, 0, 9, 8}));
    const generator::PrintPages pages =
        generator::layOutPages(printed.columnEdges(), printed.rowEdges(), a4Landscape, picture.printSetup());
    EXPECT_EQ(pages.percent, 100);
    EXPECT_EQ(pages.parts, std::vector<QRect>({QRect(QPoint(), printed.pixelSize())}));
}

// Past the smallest scale the pages follow across, then down, and together they
// cover the print area once.
TEST_F(SheetPrint, ALongListOnPagesAcrossThenDownAtTheSmallestScale) {
    const generator::SheetPicture picture = numberedRecordsPicture(3000);
    const generator::SheetPicture printed = generator::printAreaOf(picture);
    // A page too narrow for the area at 10 %, so that it takes two across.
    const QSizeF narrow(printed.pointSize().width() * 0.1 * 0.75, a4Landscape.height());
    const generator::PrintPages pages =
        generator::layOutPages(printed.columnEdges(), printed.rowEdges(), narrow, picture.printSetup());
    EXPECT_EQ(pages.percent, 10);
    ASSERT_GE(pages.parts.size(), 8u);
    ASSERT_EQ(pages.parts.size() % 2, 0u);
    long covered = 0;
    for (std::size_t i = 0; i < pages.parts.size(); i += 2) {
        const QRect& left = pages.parts[i];
        const QRect& right = pages.parts[i + 1];
        EXPECT_EQ(left.left(), 0);
        EXPECT_EQ(right.left(), left.right() + 1);
        EXPECT_EQ(right.right() + 1, printed.pixelSize().width());
        EXPECT_EQ(std::pair(left.top(), left.height()), std::pair(right.top(), right.height()));
        if (i > 0) {
            EXPECT_EQ(left.top(), pages.parts[i - 1].bottom() + 1);
        }
        // Breaks fall between rows.
        const std::vector<int>& rows = printed.rowEdges();
        EXPECT_TRUE(std::binary_search(rows.begin(), rows.end(), left.bottom() + 1));
        covered += long(left.width() + right.width()) * left.height();
    }
    EXPECT_EQ(covered, long(printed.pixelSize().width()) * printed.pixelSize().height());
}

// Fitted to pages, the scale goes below the arithmetic's where whole rows would
// not fit at it: three rows of 45 points on pages of 70, two pages tall, fit at
// 100 % by the sizes alone but take three pages there; two rows go on a page from
// 77 % down.
TEST(PageLayout, AFittedScaleGoesLowerWhereRowBreaksNeedIt) {
    PrintSetup setup;
    setup.fitPagesTall = 2;
    const generator::PrintPages pages = generator::layOutPages({0, 100}, {0, 60, 120, 180}, QSizeF(700, 70), setup);
    EXPECT_EQ(pages.percent, 77);
    EXPECT_EQ(pages.parts, std::vector<QRect>({QRect(0, 0, 100, 120), QRect(0, 120, 100, 60)}));
    // A zoom of its own is kept, whatever the pages.
    setup.zoomPercent = 100;
    EXPECT_EQ(generator::layOutPages({0, 100}, {0, 60, 120, 180}, QSizeF(700, 70), setup).parts.size(), 3u);
}

// The pages chosen in a print dialog, and only those, in their order.
TEST_F(SheetPrint, OnlyThePagesChosen) {
    const generator::SheetPicture picture = numberedRecordsPicture(3000);
    const QString pdf = QDir(env.tempFolder()).filePath(QStringLiteral("pages.pdf"));
    auto printPages = [&](int first, int last) {
        QPdfWriter writer(pdf);
        writer.setPageLayout(picture.printSetup().pageLayout());
        QPageRanges chosen;
        chosen.addRange(first, last);
        writer.setPageRanges(chosen);
        generator::printSheet(picture, writer);
    };
    printPages(2, 3);
    EXPECT_TRUE(programOutput(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages: +2\n")));
    // The second page goes on from the first: no title on it.
    const QString text = programOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_FALSE(text.contains(QStringLiteral("Sales Commission Calculator")));
    EXPECT_TRUE(text.contains(QStringLiteral("Person 500")));
    EXPECT_THROW(printPages(50, 60), shell::Failure);
}

TEST_F(SheetPrint, PdfWrittenWholeOrNotAtAll) {
    const generator::SheetPicture picture = numberedRecordsPicture(3);
    const QDir temp(env.tempFolder());
    const QString pdf = temp.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(writeFileContents(pdf, "the user's own file"));
    generator::exportSheetPdf(picture, pdf);
    EXPECT_TRUE(fileContents(pdf).startsWith("%PDF"));

    EXPECT_THROW(generator::exportSheetPdf(picture, temp.filePath(QStringLiteral("no such folder/sheet.pdf"))),
                 shell::Failure);
    EXPECT_THROW(generator::exportSheetPdf(generator::SheetPicture(), pdf), shell::Failure);
    EXPECT_TRUE(fileContents(pdf).startsWith("%PDF"));
    EXPECT_EQ(temp.entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("sheet.pdf")}));
}

}  // namespace
