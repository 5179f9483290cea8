// The preview window on real widgets: load, layout, viewport (zoom, scroll bars,
// drag, wheel, keys, the painted canvas), commands.
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "reliability/file_faults.h"
#include "generator/listed_records.h"
#include "shell/error_trap.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"
#include "support/test_files.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <optional>

using preview::Axis;
using preview::PointerShape;
using preview::PreviewWindow;

namespace {

// The 0-based sheet row of the totals under n records, and the name column.
int totalsRow(int records) { return records + 6; }
constexpr int kNameColumn = 1;

// Three records: 603 × 223 pixels, inside the viewport either way.
const generator::SheetPicture& samplePicture() {
    static const generator::SheetPicture picture = numberedRecordsPicture(3);
    return picture;
}

// A hundred records: as wide as the sample, far taller than the viewport.
const generator::SheetPicture& tallPicture() {
    static const generator::SheetPicture picture = numberedRecordsPicture(100);
    return picture;
}

// The most records the list holds: 557,111 pixels tall.
const generator::SheetPicture& longestPicture() {
    static const generator::SheetPicture picture = numberedRecordsPicture(32767);
    return picture;
}

// What the canvas shows on the screen.
QImage shown(preview::SheetCanvas* canvas) { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The part of the picture a canvas of that size shows at zoom with the picture's
// corner at `position` (pixels), painted on its own.
QImage partOf(const generator::SheetPicture& picture, double zoom, QPointF position, QSize size) {
    QImage part(size, QImage::Format_RGB32);
    part.fill(Qt::white);
    QPainter painter(&part);
    painter.translate(position);
    picture.paint(painter, QRectF(-position, QSizeF(size)), zoom);
    return part;
}

// The canvas's position in the viewport, in pixels.
QPoint canvasAt(const PreviewWindow& window) { return window.canvas()->picturePosition().toPoint(); }

QByteArray workbookBytes() {
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i) bytes.append(char(i * 7 % 256));  // zeros and high bytes included
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A cursor file: an icon image with the directory's type set to cursor and the
// hot spot written where an icon keeps planes and bit count.
QByteArray cursorFile(int hotX, int hotY) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QImageWriter(&buffer, "ico").write(image);
    qToLittleEndian<quint16>(2, bytes.data() + 2);
    qToLittleEndian<quint16>(quint16(hotX), bytes.data() + 6 + 4);
    qToLittleEndian<quint16>(quint16(hotY), bytes.data() + 6 + 6);
    return bytes;
}

// What the window asked of the rest of the program, in order.
struct Hooks {
    QStringList calls;
    bool listStored = true;  // false: the list could not be stored and the user keeps the program
    preview::PreviewWindowServices services() {
        return {[this] { calls << QStringLiteral("showMainWindow"); },
                [this] {
                    calls << QStringLiteral("storeRecordList");
                    return listStored;
                },
                [this] { calls << QStringLiteral("endProgram"); }};
    }
};

QPoint pixels(int leftTwips, int topTwips) { return {leftTwips / 15, topTwips / 15}; }

// What pdfinfo tells of a PDF file: its page count and page size.
struct PdfPages {
    int count = 0;
    QString size;
};

PdfPages pdfPages(const QString& path) {
    const QString info = programOutput(QStringLiteral("pdfinfo"), {path});
    PdfPages pages;
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:"))) pages.count = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        if (line.startsWith(QLatin1String("Page size:"))) pages.size = line.section(QLatin1Char(':'), 1).trimmed();
    }
    return pages;
}

// The text of a PDF file's pages, words joined by single blanks.
QString pdfText(const QString& path) {
    return programOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).simplified();
}

// Rows 7 to 10, columns B to D, of an .xlsx file as openpyxl reads them with
// the formulas' stored results, a line a row and "|" between the cells.
QString xlsxRecordRows(const QString& path) {
    const QString script = QStringLiteral(
        "import sys, openpyxl\n"
        "sheet = openpyxl.load_workbook(sys.argv[1], data_only=True).active\n"
        "for row in sheet.iter_rows(min_row=7, max_row=10, min_col=2, max_col=4, values_only=True):\n"
        "    print('|'.join(str(value) for value in row))\n");
    return programOutput(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
}

// Sends a mouse move with buttons held (QTest's moves carry no buttons).
void moveWithButtons(QWidget* widget, QPoint globalPos, Qt::MouseButtons buttons) {
    const QPointF local = widget->mapFromGlobal(QPointF(globalPos));
    QMouseEvent move(QEvent::MouseMove, local, QPointF(globalPos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Mouse input as a real mouse delivers it: through the window, where Qt decides
// what takes it (a context menu, a grab) before any widget sees it.
QPoint inWindow(QWidget* widget, QPoint local) { return widget->mapTo(widget->window(), local); }
void pressThroughWindow(QWidget* widget, Qt::MouseButton button, QPoint local) {
    QTest::mousePress(widget->window()->windowHandle(), button, Qt::NoModifier, inWindow(widget, local));
}
void moveThroughWindow(QWidget* widget, QPoint local) {
    QTest::mouseMove(widget->window()->windowHandle(), inWindow(widget, local));
}
void releaseThroughWindow(QWidget* widget, Qt::MouseButton button, QPoint local) {
    QTest::mouseRelease(widget->window()->windowHandle(), button, Qt::NoModifier, inWindow(widget, local));
}

void hover(QWidget* widget, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, QPointF(local), widget->mapToGlobal(QPointF(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Turns the wheel over a widget by whole notches (positive: away from the user).
void turnWheel(QWidget* widget, QPoint at, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent wheel(QPointF(at), widget->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

}  // namespace

class TestPreviewWindow : public QObject {
    Q_OBJECT

private:
    // Each test gets its own settings, temporary folder, dialogs and window.
    struct Fixture {
        // The window looks for the hand cursor in programFolder.
        explicit Fixture(const QString& programFolder = QCoreApplication::applicationDirPath())
            : window(shell::ProgramContext(dialogs, programFolder), hooks.services()) {
            writeFile(workbook, workbookBytes());
        }

        IsolatedEnvironment env;
        ScriptedDialogs dialogs;
        Hooks hooks;
        PreviewWindow window;
        QString workbook = QDir(env.tempFolder()).filePath(QStringLiteral("rendle12345678.xls"));

        // What the generation run does: picture, path, show.
        void deliver(const generator::SheetPicture& picture) {
            window.setSheet(picture);
            window.setWorkbookPath(workbook);
            window.showPreview();
        }
        QStringList boxTexts() const {
            QStringList texts;
            for (const auto& box : dialogs.boxes) texts << box.text;
            return texts;
        }
        // What the viewport shows now, against the same part of the picture painted alone.
        QImage shownNow() const { return shown(window.canvas()); }
        QImage expectedNow() const {
            return partOf(window.canvas()->picture(), window.viewportMath().zoom(), window.canvas()->picturePosition(),
                          window.canvas()->size());
        }
    };

private slots:
    void loadRunsAtFirstTouch();
    void handCursorFileBecomesCustomPointer();
    void unreadableHandCursorIsReportedAtStatement110();
    void layoutFollowsTheDesign();
    void tabOrderFollowsTheDesign();
    void deliveredSheetShowsAsTheWholePictureAtNaturalSize();
    void everyZoomFactorOnEverySheetWithItsCaption_data();
    void everyZoomFactorOnEverySheetWithItsCaption();
    void longestSheetScrolledToItsEndShowsItsTotals();
    void scrollBarsMoveTheCanvasAndItFollowsTheThumb();
    void dragPansWithAnyButton_data();
    void dragPansWithAnyButton();
    void dragLeavesASheetThatFitsAtZero();
    void wheelScrollsAndCtrlWheelZoomsAroundThePointer();
    void keysZoomAndScroll();
    void pointerShapes();
    void secondPictureRunsTheSetUpAgain();
    void saveCopiesToNewPath();
    void saveOverExistingAnsweredNoKeepsIt();
    void saveOverExistingAnsweredYesReplacesIt();
    void cancelledSaveCopiesNothing();
    void failedSaveReportsAt130WithoutDone_data();
    void failedSaveReportsAt130WithoutDone();
    void backDeletesWorkbookAndShowsMainWindow();
    void closeDeletesWorkbookStoresListAndEndsProgram();
    void pictureMenuOffersTheSheetCommandsWithTheirShortcuts();
    void exportPdfWritesThePrintAndSaysDone();
    void printSendsThePrintToThePrinterChosen();
    void saveAsExcelWorkbookWritesTheSheetAsXlsx();
    void copyPicturePutsThePictureOnTheClipboard();
    void sheetFileCommandsCancelledDeclinedOrFailing_data();
    void sheetFileCommandsCancelledDeclinedOrFailing();
};

void TestPreviewWindow::loadRunsAtFirstTouch() {
    Fixture f;
    QVERIFY(!f.window.isLoaded());
    f.window.setWorkbookPath(f.workbook);
    QVERIFY(f.window.isLoaded());
    QVERIFY(f.window.firstActivation());
    QVERIFY(!f.window.isVisible());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Quenvale"));
    QCOMPARE(f.window.workbookPath(), f.workbook);
    // No hand cursor file beside the program: the pointing hand stands in.
    QCOMPARE(f.window.customPointer().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.window.pointerShape(), PointerShape::Default);
    // The face colour for the window and its frame; the viewport stays white.
    QCOMPARE(f.window.palette().color(QPalette::Window), shell::buttonFaceColor());
    QCOMPARE(f.window.zoomFrame()->palette().color(QPalette::Window), shell::buttonFaceColor());
    QCOMPARE(f.window.viewport()->grab().toImage().pixelColor(5, 5), QColor(Qt::white));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::handCursorFileBecomesCustomPointer() {
    QTemporaryDir folder;
    writeFile(QDir(folder.path()).filePath(QStringLiteral("HAND-M.CUR")), cursorFile(9, 4));
    Fixture f(folder.path());
    f.window.ensureLoaded();

    QCOMPARE(f.window.customPointer().shape(), Qt::BitmapCursor);
    QCOMPARE(f.window.customPointer().hotSpot(), QPoint(9, 4));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::unreadableHandCursorIsReportedAtStatement110() {
    QTemporaryDir folder;
    writeFile(QDir(folder.path()).filePath(QStringLiteral("HAND-M.CUR")), "not a cursor");
    Fixture f(folder.path());
    f.window.ensureLoaded();

    const QStringList errors = f.dialogs.errorTexts();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors[0].contains(shell::errorLocationText(shell::ErrorLocation::PreviewLoad) + QStringLiteral("at line 110")));
    QCOMPARE(f.window.customPointer().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Quenvale"));
}

void TestPreviewWindow::layoutFollowsTheDesign() {
    Fixture f;
    QCOMPARE(f.window.size(), QSize(656, 624));
    QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
    const Qt::WindowFlags flags = f.window.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

    QCOMPARE(f.window.viewport()->geometry(), QRect(pixels(120, 150), QSize(622, 495)));
    QCOMPARE(f.window.canvas()->parentWidget(), f.window.viewport());
    QCOMPARE(f.window.horizontalScrollBar()->geometry(), QRect(pixels(120, 7545), QSize(622, 17)));
    QCOMPARE(f.window.verticalScrollBar()->geometry(), QRect(pixels(9450, 120), QSize(17, 495)));
    QCOMPARE(f.window.zoomFrame()->geometry(), QRect(pixels(120, 7860), QSize(640, 57)));
    // The frame's caption shows the zoom factor.
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 100%"));
    QCOMPARE(f.window.zoomInButton()->parentWidget(), f.window.zoomFrame());
    QCOMPARE(f.window.zoomInButton()->geometry(), QRect(pixels(240, 300), QSize(296, 27)));
    QCOMPARE(f.window.zoomOutButton()->geometry(), QRect(pixels(4800, 300), QSize(304, 27)));
    QCOMPARE(f.window.saveResultsButton()->geometry(), QRect(pixels(4920, 8850), QSize(320, 27)));
    QCOMPARE(f.window.backButton()->geometry(), QRect(pixels(120, 8850), QSize(312, 27)));
    QCOMPARE(f.window.saveResultsButton()->text(), QStringLiteral("Save Results To Excel File"));
    QCOMPARE(f.window.backButton()->text(), QStringLiteral("< Back"));
    QCOMPARE(f.window.zoomInButton()->text(), QStringLiteral("Zoom In"));
    QCOMPARE(f.window.zoomOutButton()->text(), QStringLiteral("Zoom Out"));

    QCOMPARE(f.window.font().family(), QStringLiteral("Arial"));
    QCOMPARE(f.window.font().pointSizeF(), 9.0);
    QVERIFY(f.window.font().bold());
    QCOMPARE(f.window.saveResultsButton()->font().pointSizeF(), 11.25);
    QVERIFY(f.window.backButton()->font().bold());

    for (QScrollBar* bar : {f.window.horizontalScrollBar(), f.window.verticalScrollBar()}) {
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 0);
    }
}

void TestPreviewWindow::tabOrderFollowsTheDesign() {
    Fixture f;
    // The frame takes no focus, so the keyboard order runs through the others.
    QVERIFY(!(f.window.zoomFrame()->focusPolicy() & Qt::TabFocus));
    const QList<QWidget*> expected = {f.window.horizontalScrollBar(), f.window.verticalScrollBar(),
                                      f.window.viewport(),            f.window.canvas(),
                                      f.window.zoomInButton(),        f.window.zoomOutButton(),
                                      f.window.saveResultsButton(),   f.window.backButton()};
    QList<QWidget*> chain;
    QWidget* w = f.window.horizontalScrollBar();
    do {
        if (w->focusPolicy() & Qt::TabFocus) chain << w;
        w = w->nextInFocusChain();
    } while (w != f.window.horizontalScrollBar());
    QCOMPARE(chain, expected);
}

void TestPreviewWindow::deliveredSheetShowsAsTheWholePictureAtNaturalSize() {
    Fixture f;
    const generator::SheetPicture& picture = samplePicture();
    f.deliver(picture);

    QVERIFY(f.window.isVisible());
    QVERIFY(!f.window.firstActivation());
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.viewportMath().base().width, picture.pixelSize().width() * 15);
    QCOMPARE(f.window.viewportMath().drawn().height, picture.pixelSize().height() * 15);
    QCOMPARE(f.window.canvas()->geometry(), QRect(QPoint(0, 0), picture.pixelSize()));
    // Painted on demand, pixel for pixel the whole sheet's picture.
    QCOMPARE(f.shownNow(), picture.image());
    // Inside the viewport: both bars off.
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());
    QVERIFY(!f.window.verticalScrollBar()->isEnabled());
    QCOMPARE(f.window.horizontalScrollBar()->maximum(), 0);
    // The keys go to the canvas from the start.
    QCOMPARE(f.window.focusWidget(), f.window.canvas());
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::everyZoomFactorOnEverySheetWithItsCaption_data() {
    QTest::addColumn<int>("records");
    QTest::newRow("sample") << 3;
    QTest::newRow("longest") << 32767;
}

// No size refuses a factor: each of the nine is taken, the caption shows it, and
// the bars cover the whole canvas at each.
void TestPreviewWindow::everyZoomFactorOnEverySheetWithItsCaption() {
    QFETCH(int, records);
    Fixture f;
    f.deliver(records == 3 ? samplePicture() : longestPicture());
    const preview::ViewportMath& math = f.window.viewportMath();

    auto checkLevel = [&](int percent) {
        QCOMPARE(math.zoomPercent(), percent);
        QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: %1%").arg(percent));
        QCOMPARE(f.window.canvas()->zoom(), percent / 100.0);
        for (const Axis axis : {Axis::Horizontal, Axis::Vertical}) {
            QScrollBar* bar = axis == Axis::Horizontal ? f.window.horizontalScrollBar() : f.window.verticalScrollBar();
            const int canvas = axis == Axis::Horizontal ? math.drawn().width : math.drawn().height;
            const int viewport = axis == Axis::Horizontal ? 9'330 : 7'425;
            QCOMPARE(bar->isEnabled(), canvas > viewport);
            QCOMPARE(bar->maximum(), int(std::ceil(std::max(0, canvas - viewport) / 15.0)));
        }
        QCOMPARE(f.shownNow(), f.expectedNow());
    };
    for (const int percent : {125, 150, 175, 200, 225}) {
        QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);
        checkLevel(percent);
    }
    QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);  // past the end: nothing
    checkLevel(225);
    for (const int percent : {200, 175, 150, 125, 100, 75, 50, 25}) {
        QTest::mouseClick(f.window.zoomOutButton(), Qt::LeftButton);
        checkLevel(percent);
    }
    QTest::mouseClick(f.window.zoomOutButton(), Qt::LeftButton);
    checkLevel(25);
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::longestSheetScrolledToItsEndShowsItsTotals() {
    Fixture f;
    const generator::SheetPicture& picture = longestPicture();
    f.deliver(picture);
    QScrollBar* bar = f.window.verticalScrollBar();
    QVERIFY(bar->maximum() > 500'000);

    bar->setValue(bar->maximum());
    // The canvas's bottom edge at the viewport's.
    QCOMPARE(canvasAt(f.window).y(), 495 - picture.pixelSize().height());
    const int row = totalsRow(32767);
    QCOMPARE(picture.cellText(row, kNameColumn), QStringLiteral("Totals"));
    QCOMPARE(picture.cellText(row, kNameColumn + 1), QStringLiteral("$53,685,452,800.00"));
    const QRect totals = picture.cellRect(row, kNameColumn + 1).translated(canvasAt(f.window));
    QVERIFY(QRect(QPoint(0, 0), f.window.canvas()->size()).contains(totals));

    const QImage onScreen = f.shownNow();
    QCOMPARE(onScreen, f.expectedNow());
    // Not blank where the totals are: their fill and figures show.
    const QImage totalsShown = onScreen.copy(totals);
    QVERIFY(totalsShown.pixelColor(3, 3) != QColor(Qt::white));
    QVERIFY(totalsShown != partOf(picture, 1, -QPointF(totals.topLeft() - QPoint(0, 17) - canvasAt(f.window)),
                                  totals.size()));

    // The End key gets there too, from the top.
    QTest::keyClick(f.window.canvas(), Qt::Key_Home);
    QCOMPARE(bar->value(), 0);
    QTest::keyClick(f.window.canvas(), Qt::Key_End);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(f.shownNow(), onScreen);
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::scrollBarsMoveTheCanvasAndItFollowsTheThumb() {
    Fixture f;
    f.deliver(tallPicture());
    QScrollBar* bar = f.window.verticalScrollBar();
    QVERIFY(bar->isEnabled());
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());

    bar->setValue(30);  // a unit is a pixel
    QCOMPARE(canvasAt(f.window), QPoint(0, -30));
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(canvasAt(f.window), QPoint(0, -50));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(canvasAt(f.window), QPoint(0, -50 - (495 - 20)));
    QCOMPARE(f.shownNow(), f.expectedNow());

    // The canvas follows the thumb while it is dragged, and stays where it is let go.
    bar->setSliderDown(true);
    bar->setSliderPosition(700);
    QCOMPARE(canvasAt(f.window), QPoint(0, -700));
    bar->setSliderPosition(640);
    QCOMPARE(canvasAt(f.window), QPoint(0, -640));
    bar->setSliderDown(false);
    QCOMPARE(canvasAt(f.window), QPoint(0, -640));
    QCOMPARE(f.shownNow(), f.expectedNow());
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::dragPansWithAnyButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestPreviewWindow::dragPansWithAnyButton() {
    QFETCH(Qt::MouseButton, button);
    Fixture f;
    f.deliver(tallPicture());
    // 1.25: wider than the viewport as well. The zoom keeps the viewport's centre;
    // Home brings the canvas back to its corner.
    f.window.zoomIn();
    QCOMPARE(canvasAt(f.window), QPoint(-78, -62));  // a quarter of the half viewport, 311 × 247.5
    QTest::keyClick(f.window.canvas(), Qt::Key_Home);
    QCOMPARE(canvasAt(f.window), QPoint(0, 0));
    preview::SheetCanvas* canvas = f.window.canvas();
    // The far corner: the canvas's end at the viewport's end, to the nearest pixel.
    const QPoint farCorner(qRound((9'330 - f.window.viewportMath().drawn().width) / 15.0),
                           qRound((7'425 - f.window.viewportMath().drawn().height) / 15.0));
    QVERIFY(farCorner.x() < 0);

    const QPoint grabbed(300, 300);
    pressThroughWindow(canvas, button, grabbed);
    QCOMPARE(f.window.viewportMath().grabbed().x, 4500.0);
    QCOMPARE(f.window.viewportMath().grabbed().y, 4500.0);

    // The grabbed point follows the pointer, and the bars follow the canvas; the
    // pointer's place is in the canvas as it stood at the press.
    const QPoint origin = canvas->pos();
    auto moveBy = [&](QPoint by) { moveThroughWindow(canvas, grabbed + by + origin - canvas->pos()); };
    moveBy(QPoint(-60, -30));
    QCOMPARE(canvasAt(f.window), QPoint(-60, -30));
    QCOMPARE(f.window.horizontalScrollBar()->value(), 60);
    QCOMPARE(f.window.verticalScrollBar()->value(), 30);
    moveBy(QPoint(-100, -50));
    QCOMPARE(canvasAt(f.window), QPoint(-100, -50));
    // Past the left and top edges it stops at 0.
    moveBy(QPoint(40, 30));
    QCOMPARE(canvasAt(f.window), QPoint(0, 0));
    // Past the far edges it stops with the canvas's end at the viewport's end.
    moveBy(QPoint(-20'000, -20'000));
    QCOMPARE(canvasAt(f.window), farCorner);
    moveBy(QPoint(-100, -50));
    QCOMPARE(canvasAt(f.window), QPoint(-100, -50));

    // Let go: the bars stand where the canvas is, and it stays there; a drag
    // opens no menu, whatever the button.
    releaseThroughWindow(canvas, button, grabbed + QPoint(-100, -50) + origin - canvas->pos());
    QVERIFY(!f.window.pictureMenu()->isVisible());
    // Without a button held, moves do nothing.
    moveBy(QPoint(-200, -200));
    QCOMPARE(canvasAt(f.window), QPoint(-100, -50));
    QCOMPARE(f.window.horizontalScrollBar()->value(), 100);
    QCOMPARE(f.window.verticalScrollBar()->value(), 50);
    QCOMPARE(canvasAt(f.window), QPoint(-100, -50));
    QCOMPARE(f.shownNow(), f.expectedNow());
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::dragLeavesASheetThatFitsAtZero() {
    Fixture f;
    f.deliver(samplePicture());
    preview::SheetCanvas* canvas = f.window.canvas();
    const QPoint start = canvas->mapToGlobal(QPoint(100, 100));
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    for (const QPoint by : {QPoint(-40, -30), QPoint(50, 60), QPoint(-300, 200)}) {
        moveWithButtons(canvas, start + by, Qt::LeftButton);
        QCOMPARE(canvasAt(f.window), QPoint(0, 0));
    }
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    QCOMPARE(f.window.verticalScrollBar()->value(), 0);
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::wheelScrollsAndCtrlWheelZoomsAroundThePointer() {
    Fixture f;
    f.deliver(tallPicture());
    f.window.zoomIn();  // 1.25: the sheet overhangs both ways
    QTest::keyClick(f.window.canvas(), Qt::Key_Home);
    const int line = 20 * QApplication::wheelScrollLines();

    // Towards the user scrolls down, away scrolls up; Shift turns it sideways.
    turnWheel(f.window.canvas(), QPoint(100, 100), -1);
    QCOMPARE(canvasAt(f.window), QPoint(0, -line));
    QCOMPARE(f.window.verticalScrollBar()->value(), line);
    turnWheel(f.window.canvas(), QPoint(100, 100), -2);
    QCOMPARE(canvasAt(f.window), QPoint(0, -3 * line));
    turnWheel(f.window.canvas(), QPoint(100, 100), 1);
    QCOMPARE(canvasAt(f.window), QPoint(0, -2 * line));
    turnWheel(f.window.canvas(), QPoint(100, 100), -1, Qt::ShiftModifier);
    QCOMPARE(canvasAt(f.window), QPoint(-line, -2 * line));
    QCOMPARE(f.window.horizontalScrollBar()->value(), line);

    // Ctrl+wheel zooms a step per notch, the sheet's point under the pointer kept.
    const QPoint pointer(400, 300);
    const QPointF underPointer = (QPointF(pointer) - f.window.canvas()->picturePosition()) / 1.25;
    turnWheel(f.window.canvas(), pointer, 1, Qt::ControlModifier);
    QCOMPARE(f.window.viewportMath().zoom(), 1.5f);
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 150%"));
    QPointF nowUnder = (QPointF(pointer) - f.window.canvas()->picturePosition()) / 1.5;
    QVERIFY2(std::abs(nowUnder.x() - underPointer.x()) < 1 && std::abs(nowUnder.y() - underPointer.y()) < 1,
             qPrintable(QStringLiteral("%1,%2").arg(nowUnder.x()).arg(nowUnder.y())));
    turnWheel(f.window.canvas(), pointer, -2, Qt::ControlModifier);
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    nowUnder = QPointF(pointer) - f.window.canvas()->picturePosition();
    QVERIFY(std::abs(nowUnder.y() - underPointer.y()) < 1);
    // At 1.0 the sheet fits across: it stands at 0 that way.
    QCOMPARE(canvasAt(f.window).x(), 0);
    QCOMPARE(f.window.verticalScrollBar()->value(), -canvasAt(f.window).y());
    QCOMPARE(f.shownNow(), f.expectedNow());
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::keysZoomAndScroll() {
    Fixture f;
    f.deliver(tallPicture());
    QWidget* canvas = f.window.canvas();
    const int bottom = qRound((7'425 - f.window.viewportMath().drawn().height) / 15.0);

    QTest::keyClick(canvas, Qt::Key_Down);
    QCOMPARE(canvasAt(f.window), QPoint(0, -20));
    QTest::keyClick(canvas, Qt::Key_PageDown);
    QCOMPARE(canvasAt(f.window), QPoint(0, -20 - (495 - 20)));
    QTest::keyClick(canvas, Qt::Key_PageUp);
    QTest::keyClick(canvas, Qt::Key_Up);
    QCOMPARE(canvasAt(f.window), QPoint(0, 0));
    QTest::keyClick(canvas, Qt::Key_End);
    QCOMPARE(canvasAt(f.window), QPoint(0, bottom));
    QCOMPARE(f.window.verticalScrollBar()->value(), f.window.verticalScrollBar()->maximum());
    QTest::keyClick(canvas, Qt::Key_Home);
    QCOMPARE(canvasAt(f.window), QPoint(0, 0));

    // + and - zoom; the buttons' keys reach the window from anywhere in it.
    QTest::keyClick(canvas, Qt::Key_Plus);
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 125%"));
    QTest::keyClick(f.window.saveResultsButton(), Qt::Key_Plus);
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 150%"));
    QTest::keyClick(canvas, Qt::Key_Home);
    QTest::keyClick(canvas, Qt::Key_Right);
    QCOMPARE(canvasAt(f.window).x(), -20);
    QTest::keyClick(canvas, Qt::Key_Left);
    QTest::keyClick(canvas, Qt::Key_Left);
    QCOMPARE(canvasAt(f.window).x(), 0);
    QTest::keyClick(canvas, Qt::Key_Minus);
    QTest::keyClick(canvas, Qt::Key_Minus);
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 100%"));
    QCOMPARE(f.shownNow(), f.expectedNow());
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::pointerShapes() {
    Fixture f;
    f.deliver(samplePicture());

    hover(f.window.saveResultsButton(), QPoint(10, 10));
    QCOMPARE(f.window.pointerShape(), PointerShape::Custom);
    QCOMPARE(f.window.cursor().shape(), Qt::PointingHandCursor);
    // Over the viewport and the bars the pointer stays as it is.
    hover(f.window.viewport(), QPoint(600, 400));
    hover(f.window.canvas(), QPoint(10, 10));
    hover(f.window.horizontalScrollBar(), QPoint(5, 5));
    QCOMPARE(f.window.pointerShape(), PointerShape::Custom);
    // The window background and the frame give the arrow.
    hover(&f.window, QPoint(2, 2));
    QCOMPARE(f.window.pointerShape(), PointerShape::Default);
    QCOMPARE(f.window.cursor().shape(), Qt::ArrowCursor);
    hover(f.window.zoomInButton(), QPoint(3, 3));
    QCOMPARE(f.window.pointerShape(), PointerShape::Custom);
    hover(f.window.zoomFrame(), QPoint(2, 40));
    QCOMPARE(f.window.pointerShape(), PointerShape::Default);

    // A repaint sets the arrow.
    hover(f.window.zoomInButton(), QPoint(3, 3));
    f.window.zoomIn();
    QCOMPARE(f.window.pointerShape(), PointerShape::Default);
}

void TestPreviewWindow::secondPictureRunsTheSetUpAgain() {
    Fixture f;
    f.deliver(tallPicture());
    f.window.zoomIn();
    f.window.zoomIn();
    f.window.verticalScrollBar()->setValue(300);
    QCOMPARE(f.window.viewportMath().zoom(), 1.5f);
    f.window.goBack();
    QVERIFY(!f.window.isVisible());

    writeFile(f.workbook, workbookBytes());
    f.window.setSheet(samplePicture());
    QVERIFY(f.window.firstActivation());
    f.window.setWorkbookPath(f.workbook);
    f.window.showPreview();

    QVERIFY(!f.window.firstActivation());
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom: 100%"));
    QCOMPARE(f.window.viewportMath().base().width, samplePicture().pixelSize().width() * 15);
    QCOMPARE(f.window.canvas()->geometry(), QRect(QPoint(0, 0), samplePicture().pixelSize()));
    QCOMPARE(f.window.verticalScrollBar()->maximum(), 0);
    QCOMPARE(f.shownNow(), samplePicture().image());

    // A picture delivered while the window is up is set up at once.
    f.window.setSheet(tallPicture());
    f.window.showPreview();
    QCOMPARE(f.window.viewportMath().base().height, tallPicture().pixelSize().height() * 15);
    QCOMPARE(canvasAt(f.window), QPoint(0, 0));
    QVERIFY(f.window.verticalScrollBar()->isEnabled());
}

void TestPreviewWindow::saveCopiesToNewPath() {
    Fixture f;
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QString first = QDir(target.path()).filePath(QStringLiteral("commission.xls"));
    const QString second = QDir(target.path()).filePath(QStringLiteral("copy without ending"));
    f.dialogs.fileNames = {first, second};

    QTest::mouseClick(f.window.saveResultsButton(), Qt::LeftButton);
    f.window.saveResults();

    QCOMPARE(f.dialogs.saveDialogs.size(), size_t(2));
    QCOMPARE(f.dialogs.saveDialogs[0].title, QStringLiteral("Save File"));
    QCOMPARE(f.dialogs.saveDialogs[0].filter, QStringLiteral("Excel Files (*.xls)"));
    QCOMPARE(f.dialogs.saveDialogs[0].fileName, QString());
    QCOMPARE(readAll(first), workbookBytes());
    QCOMPARE(readAll(second), workbookBytes());
    QCOMPARE(readAll(f.workbook), workbookBytes());
    QCOMPARE(f.boxTexts(), QStringList({QStringLiteral("Done."), QStringLiteral("Done.")}));
    const auto& done = f.dialogs.boxes[0];
    QCOMPARE(done.title, shell::appTitle());
    QCOMPARE(done.buttons, shell::BoxButtons::Ok);
    QCOMPARE(done.icon, shell::BoxIcon::None);
    // Nothing else is left in the target folder.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestPreviewWindow::saveOverExistingAnsweredNoKeepsIt() {
    Fixture f;
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QString path = QDir(target.path()).filePath(QStringLiteral("commission.xls"));
    writeFile(path, "the user's own file");
    f.dialogs.fileNames = {path};
    f.dialogs.answers = {shell::BoxAnswer::No};

    f.window.saveResults();

    QCOMPARE(readAll(path), QByteArray("the user's own file"));
    QCOMPARE(f.dialogs.boxes.size(), size_t(2));
    const auto& question = f.dialogs.boxes[0];
    QCOMPARE(question.text, QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?"));
    QCOMPARE(question.title, shell::appTitle());
    QCOMPARE(question.buttons, shell::BoxButtons::YesNo);
    QCOMPARE(question.icon, shell::BoxIcon::None);
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("Done."));
}

void TestPreviewWindow::saveOverExistingAnsweredYesReplacesIt() {
    Fixture f;
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QString path = QDir(target.path()).filePath(QStringLiteral("commission.xls"));
    writeFile(path, "the user's own file");
    f.dialogs.fileNames = {path};
    f.dialogs.answers = {shell::BoxAnswer::Yes};

    f.window.saveResults();

    QCOMPARE(readAll(path), workbookBytes());
    QCOMPARE(readAll(f.workbook), workbookBytes());
    QCOMPARE(f.boxTexts(),
             QStringList({QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?"),
                          QStringLiteral("Done.")}));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestPreviewWindow::cancelledSaveCopiesNothing() {
    Fixture f;
    f.deliver(samplePicture());
    const QStringList before = QDir(f.env.tempFolder()).entryList(QDir::Files | QDir::Hidden);

    f.window.saveResults();  // the dialog answers with no name

    QCOMPARE(f.dialogs.saveDialogs.size(), size_t(1));
    QCOMPARE(f.boxTexts(), QStringList({QStringLiteral("Done.")}));
    QCOMPARE(QDir(f.env.tempFolder()).entryList(QDir::Files | QDir::Hidden), before);
}

void TestPreviewWindow::failedSaveReportsAt130WithoutDone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << QStringLiteral("missing folder");
    QTest::newRow("path is a folder") << QStringLiteral("folder");
    QTest::newRow("parent is a file") << QStringLiteral("parent file");
    QTest::newRow("existing file, workbook gone") << QStringLiteral("existing");
}

void TestPreviewWindow::failedSaveReportsAt130WithoutDone() {
    QFETCH(QString, kind);
    Fixture f;
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QDir dir(target.path());
    QString path;
    if (kind == QLatin1String("missing folder")) {
        path = dir.filePath(QStringLiteral("no such folder/commission.xls"));
    } else if (kind == QLatin1String("folder")) {
        path = dir.filePath(QStringLiteral("a folder"));
        QVERIFY(dir.mkdir(QStringLiteral("a folder")));
    } else if (kind == QLatin1String("parent file")) {
        writeFile(dir.filePath(QStringLiteral("plain file")), "x");
        path = dir.filePath(QStringLiteral("plain file/commission.xls"));
    } else {
        // The user's file must survive a copy that cannot be made.
        path = dir.filePath(QStringLiteral("commission.xls"));
        writeFile(path, "the user's own file");
        QVERIFY(QFile::remove(f.workbook));
        f.dialogs.answers = {shell::BoxAnswer::Yes};
    }
    f.dialogs.fileNames = {path};

    f.window.saveResults();

    const QStringList errors = f.dialogs.errorTexts();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(QStringLiteral("\r\n") + shell::errorLocationText(shell::ErrorLocation::SaveResults) +
                                QStringLiteral("at line 130\r\r")),
             qPrintable(errors[0]));
    QVERIFY(!f.boxTexts().contains(QStringLiteral("Done.")));
    if (kind == QLatin1String("existing")) QCOMPARE(readAll(path), QByteArray("the user's own file"));
    if (kind == QLatin1String("folder")) QVERIFY(QFileInfo(path).isDir());
    // No half-written sibling is left behind.
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(name == QLatin1String("commission.xls") || name == QLatin1String("plain file"), qPrintable(name));
}

void TestPreviewWindow::backDeletesWorkbookAndShowsMainWindow() {
    Fixture f;
    f.deliver(samplePicture());
    QVERIFY(f.window.isVisible());

    QTest::mouseClick(f.window.backButton(), Qt::LeftButton);

    QVERIFY(!QFile::exists(f.workbook));
    QCOMPARE(f.hooks.calls, QStringList({QStringLiteral("showMainWindow")}));
    QVERIFY(!f.window.isVisible());
    // Still loaded, its state kept.
    QVERIFY(f.window.isLoaded());
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::closeDeletesWorkbookStoresListAndEndsProgram() {
    for (const bool stored : {true, false}) {
        Fixture f;
        f.hooks.listStored = stored;
        f.deliver(samplePicture());
        f.window.show();

        // A list that could not be stored keeps the preview open with its workbook.
        QCOMPARE(f.window.close(), stored);
        QCOMPARE(QFile::exists(f.workbook), !stored);
        QCOMPARE(f.window.isVisible(), !stored);
        QCOMPARE(f.hooks.calls, stored ? QStringList({"storeRecordList", "endProgram"}) : QStringList({"storeRecordList"}));
        QVERIFY(f.dialogs.boxes.empty());
    }
}

void TestPreviewWindow::pictureMenuOffersTheSheetCommandsWithTheirShortcuts() {
    Fixture f;
    f.deliver(samplePicture());
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QMenu* menu = f.window.pictureMenu();
    // It opens on a right click without movement, on the Menu key and on Shift+F10.
    const std::function<void()> openers[] = {
        [&] {
            pressThroughWindow(f.window.canvas(), Qt::RightButton, QPoint(20, 20));
            QVERIFY(!menu->isVisible());
            releaseThroughWindow(f.window.canvas(), Qt::RightButton, QPoint(21, 20));
        },
        [&] { QTest::keyClick(f.window.windowHandle(), Qt::Key_Menu); },
        [&] { QTest::keyClick(f.window.windowHandle(), Qt::Key_F10, Qt::ShiftModifier); },
    };
    for (const auto& open : openers) {
        open();
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
    }
    menu->popup(f.window.canvas()->mapToGlobal(QPoint(20, 20)));
    QStringList offered;
    for (const QAction* action : menu->actions()) {
        offered << action->text() + QStringLiteral(" ") + action->shortcut().toString();
        // The shortcuts work wherever the keyboard is in the window.
        QVERIFY(f.window.actions().contains(const_cast<QAction*>(action)));
        QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
    }
    QCOMPARE(offered, QStringList({QStringLiteral("Print\u2026 Ctrl+P"), QStringLiteral("Export PDF\u2026 Ctrl+Shift+E"),
                                   QStringLiteral("Save as Excel Workbook (.xlsx)\u2026 "),
                                   QStringLiteral("Copy Picture Ctrl+C")}));
    menu->close();
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::exportPdfWritesThePrintAndSaysDone() {
    Fixture f;
    f.deliver(samplePicture());
    // Shortcuts reach the active window.
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTemporaryDir target;
    // A name without an ending gets the ending of PDF files.
    f.dialogs.fileNames = {QDir(target.path()).filePath(QStringLiteral("commission"))};

    QTest::keyClick(f.window.canvas(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);

    QCOMPARE(f.dialogs.saveDialogs.size(), size_t(1));
    QCOMPARE(f.dialogs.saveDialogs[0].title, QStringLiteral("Export PDF"));
    QCOMPARE(f.dialogs.saveDialogs[0].filter, QStringLiteral("PDF Files (*.pdf)"));
    const QString pdf = QDir(target.path()).filePath(QStringLiteral("commission.pdf"));
    QCOMPARE(pdfPages(pdf).count, 1);
    QCOMPARE(pdfPages(pdf).size, QStringLiteral("842 x 595 pts (A4)"));  // landscape
    QVERIFY(pdfText(pdf).contains(QStringLiteral("Sales Commission Calculator")));
    QCOMPARE(f.boxTexts(), QStringList({QStringLiteral("Done.")}));
    QCOMPARE(f.dialogs.boxes[0].title, shell::appTitle());
    QVERIFY(!f.dialogs.boxes[0].underWaitPointer);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestPreviewWindow::printSendsThePrintToThePrinterChosen() {
    Fixture f;
    f.deliver(samplePicture());
    // Shortcuts reach the active window.
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTemporaryDir target;
    const QString printed = QDir(target.path()).filePath(QStringLiteral("printed.pdf"));
    f.dialogs.printFiles = {printed};

    QTest::keyClick(f.window.canvas(), Qt::Key_P, Qt::ControlModifier);

    // The dialog came up on the sheet's own page: A4 landscape, its margins.
    QCOMPARE(f.dialogs.printDialogs.size(), size_t(1));
    const QPageLayout& page = f.dialogs.printDialogs[0];
    QCOMPARE(page.pageSize().id(), QPageSize::A4);
    QCOMPARE(page.orientation(), QPageLayout::Landscape);
    QCOMPARE(page.margins(QPageLayout::Point), QMarginsF(50.4, 36, 50.4, 36));
    QCOMPARE(pdfPages(printed).count, 1);
    QVERIFY(pdfText(printed).contains(QStringLiteral("Person 3")));
    // The printout is there to see: no box.
    QVERIFY(f.dialogs.boxes.empty());

    // Cancelled, the dialog prints nothing.
    QVERIFY(QFile::remove(printed));
    QTest::keyClick(f.window.canvas(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(f.dialogs.printDialogs.size(), size_t(2));
    QVERIFY(!QFile::exists(printed));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::saveAsExcelWorkbookWritesTheSheetAsXlsx() {
    Fixture f;
    saveRecordsWorkbook(numberedRecords(3), f.workbook);
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QString xlsx = QDir(target.path()).filePath(QStringLiteral("commission.xlsx"));
    f.dialogs.fileNames = {xlsx};

    f.window.findChild<QAction*>(QStringLiteral("saveAsExcelWorkbookAction"))->trigger();

    QCOMPARE(f.dialogs.saveDialogs[0].title, QStringLiteral("Save as Excel Workbook"));
    QCOMPARE(f.dialogs.saveDialogs[0].filter, QStringLiteral("Excel Workbook (*.xlsx)"));
    QCOMPARE(xlsxRecordRows(xlsx), QStringLiteral("Person 1|100|10\nPerson 2|200|20\nPerson 3|300|30\nTotals|600|60\n"));
    QCOMPARE(f.boxTexts(), QStringList({QStringLiteral("Done.")}));
    // The temporary workbook stays for the other commands.
    QVERIFY(QFile::exists(f.workbook));
}

void TestPreviewWindow::copyPicturePutsThePictureOnTheClipboard() {
    Fixture f;
    f.deliver(samplePicture());
    // Shortcuts reach the active window.
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(f.window.canvas(), Qt::Key_Plus);  // the zoom shown does not matter

    QTest::keyClick(f.window.canvas(), Qt::Key_C, Qt::ControlModifier);

    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), samplePicture().pixelSize());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), samplePicture().image(1).convertToFormat(QImage::Format_RGB32));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::sheetFileCommandsCancelledDeclinedOrFailing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("kind");
    const struct {
        const char* command;
        shell::ErrorLocation location;
    } commands[] = {{"exportPdfAction", shell::ErrorLocation::ExportPdf},
                    {"saveAsExcelWorkbookAction", shell::ErrorLocation::SaveAsExcelWorkbook}};
    for (const auto& c : commands)
        for (const char* kind : {"cancelled", "declined", "missing folder", "full disk", "the shown workbook"})
            QTest::addRow("%s, %s", c.command, kind)
                << QString::fromLatin1(c.command) << shell::errorLocationText(c.location) << QString::fromLatin1(kind);
}

void TestPreviewWindow::sheetFileCommandsCancelledDeclinedOrFailing() {
    QFETCH(QString, command);
    QFETCH(QString, location);
    QFETCH(QString, kind);
    Fixture f;
    saveRecordsWorkbook(numberedRecords(3), f.workbook);
    f.deliver(samplePicture());
    QTemporaryDir target;
    const QDir dir(target.path());
    const QString existing = dir.filePath(QStringLiteral("kept.file"));
    writeFile(existing, "the user's own file");
    if (kind == QLatin1String("declined")) {
        f.dialogs.fileNames = {existing};
        f.dialogs.answers = {shell::BoxAnswer::No};
    } else if (kind == QLatin1String("missing folder")) {
        f.dialogs.fileNames = {dir.filePath(QStringLiteral("no such folder/sheet.file"))};
    } else if (kind != QLatin1String("cancelled")) {
        f.dialogs.fileNames = {kind == QLatin1String("full disk") ? existing : f.workbook};
        f.dialogs.answers = {shell::BoxAnswer::Yes};
    }
    const QByteArray workbookBefore = readAll(f.workbook);

    {
        std::optional<faults::DiskFull> full;
        if (kind == QLatin1String("full disk")) full.emplace(4096);
        f.window.findChild<QAction*>(command)->trigger();
    }

    // The wait pointer, if shown, is gone again, and no box came up under it.
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (const ScriptedDialogs::Box& box : f.dialogs.boxes) QVERIFY(!box.underWaitPointer);
    QCOMPARE(f.dialogs.saveDialogs.size(), size_t(1));
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("kept.file")}));
    QCOMPARE(readAll(existing), QByteArray("the user's own file"));
    if (kind == QLatin1String("cancelled")) {
        QVERIFY(f.dialogs.boxes.empty());
    } else if (kind == QLatin1String("declined")) {
        QCOMPARE(f.boxTexts(), QStringList({QStringLiteral("Are you sure you wish to overwrite ") + existing + " ?"}));
    } else {
        const QStringList errors = f.dialogs.errorTexts();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("\r\n") + location + QStringLiteral("at line 106\r\r")),
                 qPrintable(errors[0]));
        QVERIFY(!f.boxTexts().contains(QStringLiteral("Done.")));
        // The system's reason, not "Unknown error".
        if (kind == QLatin1String("full disk")) QVERIFY2(errors[0].contains(faults::fullDiskReason()), qPrintable(errors[0]));
    }
    QCOMPARE(readAll(f.workbook), workbookBefore);
}

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
