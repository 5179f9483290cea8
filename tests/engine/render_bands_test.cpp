// A large picture is painted in two bands of rows at once. Whatever the split, the
// picture must be the one painting the cells in one go gives: each row of it is
// compared with a picture of a small range around that row, which is painted in one go.
#include "engine/render/range_picture.h"
#include "engine/render/sheet_geometry.h"

#include "support/isolated_environment.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace engine;
using engine::render::renderRange;
using engine::render::rowHeightPixels;

namespace {

constexpr int kRows = 800;  // enough for two bands
constexpr int kSlate = 10;

class PictureBands : public ::testing::Test {
protected:
    PictureBands() {
        workbook.palette[kSlate - 1] = 84 + 256 * 125 + 65536 * 146;
        sheet.columnWidths = {{0, 28}, {1, 28}, {2, 12}};
        CellStyle name;
        name.font = {QStringLiteral("Century Gothic"), 9, false, false, kColorAutomatic};
        name.hAlign = HorizontalAlignment::Center;
        name.vAlign = VerticalAlignment::Center;
        name.wrap = true;
        CellStyle money = name;
        money.numberFormat = QStringLiteral("$#,##0.00");
        CellStyle grey = name;
        grey.fillColorIndex = kSlate;
        grey.border(CellSide::Bottom) = {BorderLine::Thin, kColorAutomatic};
        const StyleId nameId = workbook.styles.intern(name);
        const StyleId moneyId = workbook.styles.intern(money);
        const StyleId greyId = workbook.styles.intern(grey);
        for (int r = 0; r < kRows; ++r) {
            sheet.rowHeights[r] = 15;
            put(r, 0, QStringLiteral("Salesperson %1").arg(r), r % 2 ? greyId : nameId);
            put(r, 1, 1000.0 + r * 37.25, moneyId);
            // Text through the layout, away from the middle: the bands split there.
            if (r < kRows / 4 || r > kRows * 3 / 4) put(r, 2, QStringLiteral("office \u05D0 %1").arg(r), nameId);
        }
        m_nameId = nameId;
        // Merged areas around the middle move the split off their rows.
        for (int r = kRows / 2 - 5; r < kRows / 2 + 6; r += 2) sheet.merges.push_back({r, 0, r + 1, 0});
    }

    void put(int row, int col, CellValue value, StyleId style) {
        Cell& cell = sheet.cells[CellAddress{row, col}];
        cell.value = std::move(value);
        cell.style = style;
    }

    int y(int row) const {
        int px = 0;
        for (int r = 0; r < row; ++r) px += rowHeightPixels(sheet.rowHeight(r));
        return px;
    }

    // Every row of the whole picture but the first and last few against a picture
    // of the rows around it (whose own first and last rows differ at its edges).
    void expectSameAsInOneGo() {
        const QImage whole = renderRange(workbook, sheet, {0, 0, kRows - 1, 2});
        ASSERT_EQ(whole.height(), y(kRows));
        constexpr int around = 40;  // rows: far below the size painted in two bands
        for (int first = 0; first + around <= kRows; first += around - 4) {
            const QImage part = renderRange(workbook, sheet, {first, 0, first + around - 1, 2});
            const int top = y(first + 2), bottom = y(first + around - 2);
            SCOPED_TRACE("rows from " + std::to_string(first));
            ASSERT_TRUE(whole.copy(0, top, whole.width(), bottom - top) ==
                        part.copy(0, top - y(first), part.width(), bottom - top));
        }
    }

    IsolatedEnvironment env;
    StyleId m_nameId = kDefaultStyleId;
    WorkbookData workbook;
    SheetData sheet;
};

TEST_F(PictureBands, TwoBandsPaintWhatOneGoPaints) { expectSameAsInOneGo(); }

TEST_F(PictureBands, GlyphsReachingAcrossTheSplitStillPaintWhatOneGoPaints) {
    // Accented capitals rise above the font's ascent: set at the top of rows just
    // tall enough for a line, they reach into the row above, wherever the split is.
    CellStyle accented;
    accented.font = {QStringLiteral("Garamond"), 11, false, false, kColorAutomatic};
    accented.vAlign = VerticalAlignment::Top;
    const StyleId accentedId = workbook.styles.intern(accented);
    for (int r = kRows / 2 - 8; r < kRows / 2 + 8; ++r) {
        sheet.rowHeights[r] = 13.5;
        put(r, 1, QStringLiteral("\u01FA\u00C5 %1").arg(r), accentedId);
    }
    expectSameAsInOneGo();
}

}  // namespace
