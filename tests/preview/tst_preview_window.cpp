// The preview window on real widgets: load, layout, viewport, commands.
#include "preview/preview_window.h"
#include "preview/picture_box.h"
#include "shell/error_trap.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using preview::PreviewWindow;
using preview::PointerShape;

namespace {

// A picture of the kind the generator delivers: cells, borders, text.
QImage samplePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(204, 255, 204));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(51, 102, 153));
    painter.setPen(Qt::black);
    for (int x = 0; x < width; x += 40) painter.drawLine(x, 0, x, height - 1);
    for (int y = 0; y < height; y += 17) painter.drawLine(0, y, width - 1, y);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QStringLiteral("Sales Commission Calculator"));
    return picture;
}

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
    preview::PreviewWindowServices services() {
        return {[this] { calls << QStringLiteral("showMainWindow"); },
                [this] { calls << QStringLiteral("storeRecordList"); },
                [this] { calls << QStringLiteral("endProgram"); }};
    }
};

QPoint pixels(int leftTwips, int topTwips) { return {leftTwips / 15, topTwips / 15}; }

// Sends a mouse move with buttons held (QTest's moves carry no buttons).
void moveWithButtons(QWidget* widget, QPoint globalPos, Qt::MouseButtons buttons) {
    const QPointF local = widget->mapFromGlobal(QPointF(globalPos));
    QMouseEvent move(QEvent::MouseMove, local, QPointF(globalPos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void hover(QWidget* widget, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, QPointF(local), widget->mapToGlobal(QPointF(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

class TestPreviewWindow : public QObject {
    Q_OBJECT

private:
    // Each test gets its own settings, temporary folder, dialogs and window.
    struct Fixture {
        IsolatedEnvironment env;
        ScriptedDialogs dialogs;
        Hooks hooks;
        PreviewWindow window{hooks.services()};
        QString workbook = QDir(env.tempFolder()).filePath(QStringLiteral("rendle12345678.xls"));

        Fixture() { writeFile(workbook, workbookBytes()); }
        // What the generation run does: picture, path, show.
        void deliver(const QImage& picture) {
            window.setPicture(picture);
            window.setWorkbookPath(workbook);
            window.showPreview();
        }
        QStringList boxTexts() const {
            QStringList texts;
            for (const auto& box : dialogs.boxes) texts << box.text;
            return texts;
        }
    };

private slots:
    void loadRunsAtFirstTouch();
    void handCursorFileBecomesCustomPointer();
    void unreadableHandCursorIsReportedAtStatement110();
    void layoutFollowsTheDesign();
    void tabOrderFollowsTheDesign();
    void deliveredPictureShowsAtNaturalSize();
    void zoomRepaintsAndBarsFollowTheCanvas();
    void tallPictureKeepsNaturalSizeAndZoomInIsRefused();
    void scrollRangeBeyond16BitsIsReportedAtStatement136();
    void scrollBarChangesMoveTheCanvas();
    void thumbDragMovesTheCanvasOnlyWhenReleased();
    void dragPansWithAnyButton_data();
    void dragPansWithAnyButton();
    void mouseUpWithCanvasAsWideAsViewportLeavesThatBar();
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
    QCOMPARE(f.window.palette().color(QPalette::Window), shell::ButtonFaceColor());
    QCOMPARE(f.window.zoomFrame()->palette().color(QPalette::Window), shell::ButtonFaceColor());
    QCOMPARE(f.window.viewport()->surface().pixelColor(5, 5), QColor(Qt::white));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::handCursorFileBecomesCustomPointer() {
    Fixture f;
    QTemporaryDir folder;
    writeFile(QDir(folder.path()).filePath(QStringLiteral("HAND-M.CUR")), cursorFile(9, 4));
    shell::setProgramFolderForTesting(folder.path());
    f.window.ensureLoaded();
    shell::setProgramFolderForTesting(QString());

    QCOMPARE(f.window.customPointer().shape(), Qt::BitmapCursor);
    QCOMPARE(f.window.customPointer().hotSpot(), QPoint(9, 4));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::unreadableHandCursorIsReportedAtStatement110() {
    Fixture f;
    QTemporaryDir folder;
    writeFile(QDir(folder.path()).filePath(QStringLiteral("HAND-M.CUR")), "not a cursor");
    shell::setProgramFolderForTesting(folder.path());
    f.window.ensureLoaded();
    shell::setProgramFolderForTesting(QString());

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
    QCOMPARE(f.window.zoomFrame()->title(), QStringLiteral("Zoom:"));
    QCOMPARE(f.window.zoomInButton()->parentWidget(), f.window.zoomFrame());
    QCOMPARE(f.window.zoomInButton()->geometry(), QRect(pixels(240, 300), QSize(296, 27)));
    QCOMPARE(f.window.zoomOutButton()->geometry(), QRect(pixels(4800, 300), QSize(304, 27)));
    QCOMPARE(f.window.saveResultsButton()->geometry(), QRect(pixels(4920, 8850), QSize(320, 27)));
    QCOMPARE(f.window.backButton()->geometry(), QRect(pixels(120, 8850), QSize(312, 27)));
    QCOMPARE(f.window.saveResultsButton()->text(), QStringLiteral("Save Results To Excel File"));
    QCOMPARE(f.window.backButton()->text(), QStringLiteral("< Back"));
    QCOMPARE(f.window.zoomInButton()->text(), QStringLiteral("Zoom In"));
    QCOMPARE(f.window.zoomOutButton()->text(), QStringLiteral("Zoom Out"));
    QVERIFY(f.window.referencePicture()->isHidden());

    QCOMPARE(f.window.font().family(), QStringLiteral("Arial"));
    QCOMPARE(f.window.font().pointSizeF(), 9.0);
    QVERIFY(f.window.font().bold());
    QCOMPARE(f.window.saveResultsButton()->font().pointSizeF(), 11.25);
    QVERIFY(f.window.backButton()->font().bold());

    for (QScrollBar* bar : {f.window.horizontalScrollBar(), f.window.verticalScrollBar()}) {
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 1);
    }
}

void TestPreviewWindow::tabOrderFollowsTheDesign() {
    Fixture f;
    // The frame takes no focus, so the keyboard order runs through the others.
    QVERIFY(!(f.window.zoomFrame()->focusPolicy() & Qt::TabFocus));
    const QList<QWidget*> expected = {f.window.horizontalScrollBar(),    f.window.verticalScrollBar(),    f.window.viewport(),
                                      f.window.canvas(),    f.window.referencePicture(),    f.window.zoomInButton(),
                                      f.window.zoomOutButton(), f.window.saveResultsButton(), f.window.backButton()};
    QList<QWidget*> chain;
    QWidget* w = f.window.horizontalScrollBar();
    do {
        if (w->focusPolicy() & Qt::TabFocus) chain << w;
        w = w->nextInFocusChain();
    } while (w != f.window.horizontalScrollBar());
    QCOMPARE(chain, expected);
}

void TestPreviewWindow::deliveredPictureShowsAtNaturalSize() {
    Fixture f;
    const QImage picture = samplePicture(300, 200);
    f.deliver(picture);

    QVERIFY(f.window.isVisible());
    QVERIFY(!f.window.firstActivation());
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.viewportMath().baseWidth(), 300 * 15 - 2);
    QCOMPARE(f.window.viewportMath().baseHeight(), 200 * 15 - 2);
    QCOMPARE(f.window.viewportMath().drawWidth(), 300 * 15 - 2);
    QCOMPARE(f.window.referencePicture()->size(), QSize(300, 200));
    QCOMPARE(f.window.referencePicture()->picture(), picture);
    QCOMPARE(f.window.canvas()->geometry(), QRect(0, 0, 300, 200));
    // Painted from the reference at 1:1, the canvas shows the picture itself.
    QCOMPARE(f.window.canvas()->surface(), picture.convertToFormat(QImage::Format_RGB32));
    QVERIFY(f.window.canvas()->picture().isNull());
    // Smaller than the viewport: both bars off.
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());
    QVERIFY(!f.window.verticalScrollBar()->isEnabled());
    QCOMPARE(f.window.viewportMath().horizontalScrollStep(), int16_t(0));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::zoomRepaintsAndBarsFollowTheCanvas() {
    Fixture f;
    f.deliver(samplePicture(400, 150));  // base 5998 × 2248 twips

    struct Level {
        float zoom;
        int canvasWidth;  // pixels
        bool scrolls;
        int maximum;
        int step;
    };
    // 1.75: 10,496 twips wide, 1,170 beyond the viewport's 9,330: 117 units of 10.
    const Level in[] = {{1.25f, 500, false, 0, 0}, {1.5f, 600, false, 0, 0}, {1.75f, 700, true, 117, 10}};
    for (const Level& level : in) {
        QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);
        QCOMPARE(f.window.viewportMath().zoom(), level.zoom);
        QCOMPARE(f.window.canvas()->width(), level.canvasWidth);
        QCOMPARE(f.window.horizontalScrollBar()->isEnabled(), level.scrolls);
        QCOMPARE(f.window.viewportMath().horizontalScrollStep(), int16_t(level.step));
        if (level.scrolls) QCOMPARE(f.window.horizontalScrollBar()->maximum(), level.maximum);
    }
    QCOMPARE(f.window.canvas()->height(), 262);  // floor(2248 × 1.75) = 3934 twips

    // Scrolled, then zoomed out: the canvas and the bars start again from 0.
    f.window.horizontalScrollBar()->setValue(50);
    QCOMPARE(f.window.canvas()->x(), -33);  // −500 twips
    QTest::mouseClick(f.window.zoomOutButton(), Qt::LeftButton);
    QCOMPARE(f.window.viewportMath().zoom(), 1.5f);
    QCOMPARE(f.window.canvas()->pos(), QPoint(0, 0));
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());
    QCOMPARE(f.window.viewportMath().horizontalScrollStep(), int16_t(0));

    // 2.0 would be 11,996 twips wide: refused, the factor is 1.0 again and the
    // canvas keeps its last painted size.
    QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);
    QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.canvas()->width(), 700);

    // Zoom out from 1.0: a quarter off the base, painted smaller.
    QTest::mouseClick(f.window.zoomOutButton(), Qt::LeftButton);
    QCOMPARE(f.window.viewportMath().zoom(), 0.75f);
    QCOMPARE(f.window.canvas()->size(), QSize(300, 112));  // 4498 × 1686 twips
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::tallPictureKeepsNaturalSizeAndZoomInIsRefused() {
    Fixture f;
    const QImage picture = samplePicture(900, 700);
    f.deliver(picture);

    QCOMPARE(f.window.canvas()->size(), QSize(900, 700));
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    // The delivered picture itself still shows.
    QCOMPARE(f.window.canvas()->picture(), picture);
    // The bars are set up from the natural size.
    QVERIFY(f.window.horizontalScrollBar()->isEnabled());
    QCOMPARE(f.window.horizontalScrollBar()->maximum(), 417);  // (13,500 − 9,330) / 10
    QCOMPARE(f.window.verticalScrollBar()->maximum(), 308);  // 307.5 to the even neighbour
    QCOMPARE(f.window.viewportMath().verticalScrollStep(), int16_t(10));

    QTest::mouseClick(f.window.zoomInButton(), Qt::LeftButton);
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.canvas()->size(), QSize(900, 700));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::scrollRangeBeyond16BitsIsReportedAtStatement136() {
    Fixture f;
    // 22,500 pixels: 328,170 twips beyond the viewport, a maximum of 32,817.
    f.deliver(samplePicture(22'500, 600));

    const QStringList errors = f.dialogs.errorTexts();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors[0], shell::errorBoxText(QStringLiteral("Overflow"), shell::errorLocationText(shell::ErrorLocation::PreviewActivate), 136));
    // The rest of the bar set-up is skipped; the activation still ends.
    QCOMPARE(f.window.viewportMath().verticalScrollStep(), int16_t(0));
    QVERIFY(!f.window.firstActivation());
    QCOMPARE(f.window.canvas()->width(), 22'500);
}

void TestPreviewWindow::scrollBarChangesMoveTheCanvas() {
    Fixture f;
    f.deliver(samplePicture(900, 700));

    f.window.horizontalScrollBar()->setValue(30);  // −300 twips
    QCOMPARE(f.window.canvas()->x(), -20);
    f.window.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(f.window.verticalScrollBar()->value(), 1);
    QCOMPARE(f.window.canvas()->y(), -1);  // −10 twips, to the nearest pixel
    f.window.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(f.window.verticalScrollBar()->value(), 2);
    QCOMPARE(f.window.canvas()->y(), -1);  // −20 twips
    f.window.verticalScrollBar()->setValue(f.window.verticalScrollBar()->maximum());
    QCOMPARE(f.window.canvas()->y(), -205);  // −3,080 twips: −205.3

    // Assigning the current value again does not move a canvas dragged elsewhere.
    f.window.canvas()->move(-7, -9);
    f.window.horizontalScrollBar()->setValue(f.window.horizontalScrollBar()->value());
    QCOMPARE(f.window.canvas()->pos(), QPoint(-7, -9));
}

void TestPreviewWindow::thumbDragMovesTheCanvasOnlyWhenReleased() {
    Fixture f;
    f.deliver(samplePicture(900, 700));
    QScrollBar* bar = f.window.horizontalScrollBar();

    bar->setSliderDown(true);
    bar->setSliderPosition(100);
    QCOMPARE(bar->value(), 100);
    QCOMPARE(f.window.canvas()->x(), 0);
    bar->setSliderDown(false);
    QCOMPARE(f.window.canvas()->x(), -67);  // −1,000 twips: −66.7

    // A thumb taken and put back where it was is no change.
    f.window.canvas()->move(-5, 0);
    bar->setSliderDown(true);
    bar->setSliderPosition(120);
    bar->setSliderPosition(100);
    bar->setSliderDown(false);
    QCOMPARE(f.window.canvas()->x(), -5);
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
    f.deliver(samplePicture(900, 700));
    preview::PictureBox* canvas = f.window.canvas();

    const QPoint grabbed(300, 300);
    const QPoint start = canvas->mapToGlobal(grabbed);
    QTest::mousePress(canvas, button, Qt::NoModifier, grabbed);
    QCOMPARE(f.window.viewportMath().dragX(), 4500.0f);
    QCOMPARE(f.window.viewportMath().dragY(), 4500.0f);

    // The grabbed point follows the pointer.
    moveWithButtons(canvas, start + QPoint(-60, -30), button);
    QCOMPARE(canvas->pos(), QPoint(-60, -30));
    moveWithButtons(canvas, start + QPoint(-100, -50), button);
    QCOMPARE(canvas->pos(), QPoint(-100, -50));
    // Past the left and top edges it stops at 0.
    moveWithButtons(canvas, start + QPoint(40, 30), button);
    QCOMPARE(canvas->pos(), QPoint(0, 0));
    // Past the far edges it stops with the canvas's end at the viewport's end.
    moveWithButtons(canvas, start + QPoint(-2000, -2000), button);
    QCOMPARE(canvas->pos(), QPoint(622 - 900, 495 - 700));
    moveWithButtons(canvas, start + QPoint(-100, -50), button);
    QCOMPARE(canvas->pos(), QPoint(-100, -50));
    // Without a button held, moves do nothing.
    moveWithButtons(canvas, start + QPoint(-200, -200), Qt::NoButton);
    QCOMPARE(canvas->pos(), QPoint(-100, -50));

    // Releasing brings the bars to the dragged place: 1,500 of 4,170 twips is 36 %
    // of 417 → 150; 750 of 3,075 is 24 % of 308 → 74. The canvas settles there.
    QTest::mouseRelease(canvas, button, Qt::NoModifier, canvas->mapFromGlobal(start + QPoint(-100, -50)));
    QCOMPARE(f.window.horizontalScrollBar()->value(), 150);
    QCOMPARE(f.window.verticalScrollBar()->value(), 74);
    QCOMPARE(canvas->pos(), QPoint(-100, -49));
    QVERIFY(f.dialogs.boxes.empty());
}

void TestPreviewWindow::mouseUpWithCanvasAsWideAsViewportLeavesThatBar() {
    Fixture f;
    f.deliver(samplePicture(622, 600));  // as wide as the viewport, taller
    preview::PictureBox* canvas = f.window.canvas();
    QCOMPARE(canvas->width(), f.window.viewport()->width());
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());
    QVERIFY(f.window.verticalScrollBar()->isEnabled());

    const QPoint start = canvas->mapToGlobal(QPoint(100, 300));
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
    moveWithButtons(canvas, start + QPoint(-30, -100), Qt::LeftButton);
    QCOMPARE(canvas->pos(), QPoint(0, -100));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, canvas->mapFromGlobal(start + QPoint(-30, -100)));

    QVERIFY2(f.dialogs.boxes.empty(), qPrintable(f.boxTexts().join(QLatin1Char('\n'))));
    QCOMPARE(f.window.horizontalScrollBar()->value(), 0);
    // 1,500 of 1,575 twips: 95 % of 158 → 150, which is where the canvas already is.
    QCOMPARE(f.window.verticalScrollBar()->value(), 150);
    QCOMPARE(canvas->pos(), QPoint(0, -100));
}

void TestPreviewWindow::pointerShapes() {
    Fixture f;
    f.deliver(samplePicture(400, 150));

    hover(f.window.saveResultsButton(), QPoint(10, 10));
    QCOMPARE(f.window.pointerShape(), PointerShape::Custom);
    QCOMPARE(f.window.cursor().shape(), Qt::PointingHandCursor);
    // Over the viewport and the bars the pointer stays as it is.
    hover(f.window.viewport(), QPoint(600, 400));
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
    f.deliver(samplePicture(400, 150));
    f.window.zoomIn();
    f.window.zoomIn();
    QCOMPARE(f.window.viewportMath().zoom(), 1.5f);
    f.window.goBack();
    QVERIFY(!f.window.isVisible());

    writeFile(f.workbook, workbookBytes());
    const QImage second = samplePicture(900, 700);
    f.window.setPicture(second);
    QVERIFY(f.window.firstActivation());
    f.window.setWorkbookPath(f.workbook);
    f.window.showPreview();

    QVERIFY(!f.window.firstActivation());
    QCOMPARE(f.window.viewportMath().zoom(), 1.0f);
    QCOMPARE(f.window.viewportMath().baseWidth(), 900 * 15 - 2);
    QCOMPARE(f.window.viewportMath().baseHeight(), 700 * 15 - 2);
    QCOMPARE(f.window.referencePicture()->picture(), second);
    QCOMPARE(f.window.canvas()->geometry(), QRect(0, 0, 900, 700));
    QCOMPARE(f.window.horizontalScrollBar()->maximum(), 417);
    QCOMPARE(f.window.verticalScrollBar()->maximum(), 308);

    // A picture delivered while the window is up is set up at once.
    f.window.setPicture(samplePicture(300, 200));
    f.window.showPreview();
    QCOMPARE(f.window.viewportMath().baseWidth(), 300 * 15 - 2);
    QCOMPARE(f.window.canvas()->size(), QSize(300, 200));
    QVERIFY(!f.window.horizontalScrollBar()->isEnabled());
}

void TestPreviewWindow::saveCopiesToNewPath() {
    Fixture f;
    f.deliver(samplePicture(300, 200));
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
    QCOMPARE(done.title, shell::AppTitle());
    QCOMPARE(done.buttons, shell::BoxButtons::Ok);
    QCOMPARE(done.icon, shell::BoxIcon::None);
    // Nothing else is left in the target folder.
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestPreviewWindow::saveOverExistingAnsweredNoKeepsIt() {
    Fixture f;
    f.deliver(samplePicture(300, 200));
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
    QCOMPARE(question.title, shell::AppTitle());
    QCOMPARE(question.buttons, shell::BoxButtons::YesNo);
    QCOMPARE(question.icon, shell::BoxIcon::None);
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("Done."));
}

void TestPreviewWindow::saveOverExistingAnsweredYesReplacesIt() {
    Fixture f;
    f.deliver(samplePicture(300, 200));
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
    f.deliver(samplePicture(300, 200));
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
    f.deliver(samplePicture(300, 200));
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
    f.deliver(samplePicture(300, 200));
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
    Fixture f;
    f.deliver(samplePicture(300, 200));

    QVERIFY(f.window.close());

    QVERIFY(!QFile::exists(f.workbook));
    QCOMPARE(f.hooks.calls, QStringList({QStringLiteral("storeRecordList"), QStringLiteral("endProgram")}));
    QVERIFY(f.dialogs.boxes.empty());
}

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
