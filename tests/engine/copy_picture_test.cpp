// The picture of a range goes to the engine's own clipboard, never the system's.
#include "engine/application.h"
#include "engine/clipboard.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace engine;

namespace {

TEST(CopyPicture, PutsThePictureOnTheEngineClipboardOnly) {
    QGuiApplication::clipboard()->setText("left alone");
    Clipboard::clear();
    Application app;
    app.Workbooks().Add();
    app.Columns("B:D").SetColumnWidth(28);
    app.Range("B2").SetFormulaR1C1("5600");
    app.Range("C3").SetFormulaR1C1("=R[-1]C[-1]*2");
    app.Range("D3").Interior().SetColorIndex(35);
    app.ActiveSheet().UsedRange().CopyPicture();
    ASSERT_TRUE(Clipboard::hasPicture());
    const QImage picture = Clipboard::picture();
    // Three columns of 28 characters are far wider than they are tall.
    EXPECT_GT(picture.width(), 3 * picture.height());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "left alone");
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
    // The formula's result was brought up to date for the picture.
    EXPECT_TRUE(app.ActiveSheet().Data().cell(2, 2)->resultValid);
}

TEST(CopyPicture, FailsOnAClosedWorkbookAndLeavesTheClipboard) {
    Clipboard::clear();
    Application app;
    const Workbook book = app.Workbooks().Add();
    const engine::Range used = book.ActiveSheet().UsedRange();
    book.Close();
    EXPECT_THROW(used.CopyPicture(), EngineError);
    EXPECT_FALSE(Clipboard::hasPicture());
}

}  // namespace
