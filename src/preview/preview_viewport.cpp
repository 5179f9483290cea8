// The preview's viewport: first-activation set-up, zoom and repaint, scroll bars,
// dragging, the wheel and the keys, and the pointer shapes.
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "shell/error_trap.h"
#include "shell/twips.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>

namespace preview {

using shell::Trap;

namespace {

constexpr double kLineTwips = ViewportMath::kLineTwips;
// A wheel notch, in eighths of a degree.
constexpr int kWheelNotch = 120;

// The statement number the repaint's error box reports.
namespace step {
constexpr int kDrawnSize = 100;
}  // namespace step

TwipsSize twipsOf(const QSize& pixels) {
    return {shell::pixelsToTwips(pixels.width()), shell::pixelsToTwips(pixels.height())};
}

}  // namespace

// --- First activation -------------------------------------------------------------

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed) {
        centreOnScreen();
        m_placed = true;
    }
    shell::untrapped([&] { activate(); });
}

void PreviewWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        shell::untrapped([&] { activate(); });
}

void PreviewWindow::activate() {
    // A box shown by the set-up must not start the set-up over again.
    if (m_activating) return;
    const QScopedValueRollback activating(m_activating, true);
    if (m_firstActivation) {
        // The base size is the picture's at zoom 1; the canvas starts at the top-left.
        m_viewportMath.setUp(twipsOf(m_canvas->picture().pixelSize()), viewportSize());
        redrawImage();
        setupScrollBars();
    }
    m_firstActivation = false;
}

// --- Repaint and zoom ---------------------------------------------------------------

void PreviewWindow::redrawImage() {
    Trap trap(dialogs(), shell::ErrorLocation::PreviewRedraw);
    trap(step::kDrawnSize, [&] { m_viewportMath.fitDrawSize(); });
    showCanvas();
    showZoomCaption();
    setPointerShape(PointerShape::Default);
}

void PreviewWindow::showZoomCaption() {
    m_zoomFrame->setTitle(QStringLiteral("Zoom: %1%").arg(m_viewportMath.zoomPercent()));
}

void PreviewWindow::zoomIn() { stepZoom(0, m_viewportMath.viewportCentre()); }

void PreviewWindow::zoomOut() { stepZoom(1, m_viewportMath.viewportCentre()); }

void PreviewWindow::stepZoom(int32_t direction, TwipsPoint anchor) {
    setZoom(m_viewportMath.zoomCandidate(direction), anchor);
}

void PreviewWindow::setZoom(float factor, TwipsPoint anchor) {
    if (!m_viewportMath.setZoom(factor, anchor)) return;
    redrawImage();
    setupScrollBars();
}

// --- Scroll bars --------------------------------------------------------------------

QScrollBar* PreviewWindow::barFor(Axis axis) const {
    return axis == Axis::Horizontal ? m_horizontalScrollBar : m_verticalScrollBar;
}

// A bar is on where the canvas overhangs the viewport; its thumb is as long as a
// page is of the canvas.
void PreviewWindow::setupScrollBars() {
    const QScopedValueRollback setting(m_settingBars, true);
    for (const Axis axis : {Axis::Horizontal, Axis::Vertical}) {
        QScrollBar* const bar = barFor(axis);
        const int32_t maximum = m_viewportMath.scrollMaximum(axis);
        bar->setEnabled(maximum > 0);
        bar->setRange(0, maximum);
        bar->setSingleStep(ViewportMath::kLineUnits);
        bar->setPageStep(static_cast<int>(m_viewportMath.page(axis) / ViewportMath::kTwipsPerScrollUnit));
        bar->setValue(m_viewportMath.scrollValue(axis));
    }
}

void PreviewWindow::followScrollBar(Axis axis) {
    if (m_settingBars) return;
    m_viewportMath.scrollTo(axis, barFor(axis)->value());
    showCanvas();
}

void PreviewWindow::showCanvas() {
    m_canvas->showPicture(m_viewportMath.zoom(), m_viewportMath.canvasPosition(), m_viewportMath.drawn(),
                          m_viewportMath.viewport());
}

void PreviewWindow::moveCanvas(TwipsPoint to) {
    m_viewportMath.moveCanvasTo(to);
    showCanvas();
    setupScrollBars();
}

void PreviewWindow::scrollCanvasBy(double dx, double dy) {
    const TwipsPoint& at = m_viewportMath.canvasPosition();
    moveCanvas({at.x - dx, at.y - dy});
}

void PreviewWindow::showPictureRect(const QRect& pictureRect) {
    const double twips = m_viewportMath.zoom() * shell::kTwipsPerPixel;
    const QRectF part(QPointF(pictureRect.topLeft()) * twips, QSizeF(pictureRect.size()) * twips);
    moveCanvas({m_viewportMath.positionShowing(Axis::Horizontal, part.left(), part.right()),
                m_viewportMath.positionShowing(Axis::Vertical, part.top(), part.bottom())});
}

// --- Dragging -----------------------------------------------------------------------

void PreviewWindow::startDrag(TwipsPoint at) { m_viewportMath.press(at); }

void PreviewWindow::drag(Qt::MouseButtons buttons, TwipsPoint at) {
    if (buttons != Qt::NoButton) moveCanvas(m_viewportMath.dragTo(at));
}

// The bars come to where the drag left the canvas; the canvas stays there.
void PreviewWindow::endDrag() {
    const QScopedValueRollback setting(m_settingBars, true);
    m_horizontalScrollBar->setValue(m_viewportMath.scrollValue(Axis::Horizontal));
    m_verticalScrollBar->setValue(m_viewportMath.scrollValue(Axis::Vertical));
}

// --- Wheel and keys -----------------------------------------------------------------

void PreviewWindow::turnWheel(QWheelEvent* event, const QPointF& viewportPoint) {
    const QPoint turn = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A zoom step per notch, the sheet's point under the pointer kept in place.
        m_wheelZoomTurn += turn.y() != 0 ? turn.y() : turn.x();
        const TwipsPoint anchor{viewportPoint.x() * shell::kTwipsPerPixel, viewportPoint.y() * shell::kTwipsPerPixel};
        while (std::abs(m_wheelZoomTurn) >= kWheelNotch) {
            const int direction = m_wheelZoomTurn > 0 ? 0 : 1;
            m_wheelZoomTurn += direction == 0 ? -kWheelNotch : kWheelNotch;
            stepZoom(direction, anchor);
        }
        return;
    }
    // A pixel-exact turn where the device gives one, else lines per notch.
    QPointF twips = QPointF(event->pixelDelta()) * shell::kTwipsPerPixel;
    if (twips.isNull()) twips = QPointF(turn) / kWheelNotch * QApplication::wheelScrollLines() * kLineTwips;
    // Shift turns the wheel sideways, unless the system has done so already.
    if ((event->modifiers() & Qt::ShiftModifier) && twips.x() == 0) twips = QPointF(twips.y(), 0);
    scrollCanvasBy(-twips.x(), -twips.y());
}

bool PreviewWindow::pressKey(int key) {
    const double page = m_viewportMath.page(Axis::Vertical);
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomIn(); return true;
    case Qt::Key_Minus: zoomOut(); return true;
    case Qt::Key_Left: scrollCanvasBy(-kLineTwips, 0); return true;
    case Qt::Key_Right: scrollCanvasBy(kLineTwips, 0); return true;
    case Qt::Key_Up: scrollCanvasBy(0, -kLineTwips); return true;
    case Qt::Key_Down: scrollCanvasBy(0, kLineTwips); return true;
    case Qt::Key_PageUp: scrollCanvasBy(0, -page); return true;
    case Qt::Key_PageDown: scrollCanvasBy(0, page); return true;
    case Qt::Key_Home: moveCanvas({0, 0}); return true;
    case Qt::Key_End: moveCanvas({0, m_viewportMath.farthest(Axis::Vertical)}); return true;
    default: return false;
    }
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    shell::untrapped([&] { handled = pressKey(event->key()); });
    if (handled) event->accept();
    else QWidget::keyPressEvent(event);
}

TwipsSize PreviewWindow::viewportSize() const { return twipsOf(m_viewport->contentsRect().size()); }

// --- Pointer shapes -----------------------------------------------------------------

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    // Moves over the viewport and the bars reach the window too; only the bare
    // background counts here (the frame and the buttons report through the filter).
    if (!childAt(event->position().toPoint())) shell::untrapped([&] { pointerOverBackground(); });
    QWidget::mouseMoveEvent(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == m_viewport || watched == m_canvas)) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPointF inViewport = static_cast<QWidget*>(watched)->mapTo(m_viewport, wheel->position());
        shell::untrapped([&] { turnWheel(wheel, inViewport); });
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_zoomFrame)
            shell::untrapped([&] { pointerOverBackground(); });
        else if (qobject_cast<QPushButton*>(watched))
            shell::untrapped([&] { pointerOverButton(); });
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::pointerOverBackground() {
    if (m_pointerShape != PointerShape::Busy) setPointerShape(PointerShape::Default);
}

void PreviewWindow::pointerOverButton() {
    if (m_pointerShape != PointerShape::Busy) setPointerShape(PointerShape::Custom);
}

void PreviewWindow::setPointerShape(PointerShape shape) {
    m_pointerShape = shape;
    switch (shape) {
        case PointerShape::Default: unsetCursor(); break;
        case PointerShape::Busy: setCursor(Qt::WaitCursor); break;
        case PointerShape::Custom: setCursor(m_customPointer); break;
    }
}

}  // namespace preview
