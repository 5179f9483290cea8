// The preview's viewport: first-activation set-up, zoom and repaint, scroll bars,
// dragging and the pointer shapes.
#include "preview/preview_window.h"
#include "preview/picture_box.h"

#include <QEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace preview {

using shell::Trap;

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

    Trap trap(shell::ErrorLocation::PreviewActivate);
    if (trap.condition(100, [&] { return m_firstActivation; })) {
        // The canvas keeps what is painted on it in any case; it sizes itself to
        // its picture and shows white where it has none.
        trap(104, [&] { m_canvas->setAutoSize(true); });
        trap(110, [&] { m_canvas->setBackColor(Qt::white); });
        // The reference box keeps the unscaled picture at its natural size.
        trap(114, [&] { m_referencePicture->hide(); });
        trap(116, [&] { m_referencePicture->setWidthTwips(m_canvas->widthTwips()); });
        trap(118, [&] { m_referencePicture->setHeightTwips(m_canvas->heightTwips()); });
        trap(122, [&] { m_referencePicture->setPicture(m_canvas->picture()); });
        m_viewportMath.setUp(trap, {m_referencePicture->innerWidthTwips(), m_referencePicture->innerHeightTwips()});
        trap(134, [&] { redrawImage(); });
        trap(136, [&] { setupScrollBars(); });
    }
    trap(138, [&] { m_firstActivation = false; });
}

// --- Repaint and zoom ---------------------------------------------------------------

bool PreviewWindow::redrawImage() {
    Trap trap(shell::ErrorLocation::PreviewRedraw);
    if (!m_viewportMath.fitDrawSize(trap)) return false;
    trap(106, [&] { m_canvas->setPicture(QImage()); });
    trap(108, [&] { m_canvas->setWidthTwips(m_viewportMath.drawWidth()); });
    trap(110, [&] { m_canvas->setHeightTwips(m_viewportMath.drawHeight()); });
    trap(112, [&] {
        m_canvas->paintPicture(m_referencePicture->picture(),
                               QRect(0, 0, m_viewportMath.baseWidth(), m_viewportMath.baseHeight()),
                               QRect(0, 0, m_viewportMath.drawWidth(), m_viewportMath.drawHeight()));
    });
    trap(114, [&] { setPointerShape(PointerShape::Default); });
    trap(116, [&] { m_horizontalScrollBar->setValue(0); });
    trap(118, [&] { m_verticalScrollBar->setValue(0); });
    trap(120, [&] { m_horizontalScrollBar->setEnabled(viewportInnerSize().width < m_viewportMath.drawWidth()); });
    trap(122, [&] { m_verticalScrollBar->setEnabled(viewportInnerSize().height < m_viewportMath.drawHeight()); });
    return true;
}

void PreviewWindow::zoomIn() {
    Trap trap(shell::ErrorLocation::ZoomIn);
    trap(100, [&] { stepZoom(0); });
}

void PreviewWindow::zoomOut() {
    Trap trap(shell::ErrorLocation::ZoomOut);
    trap(100, [&] { stepZoom(1); });
}

void PreviewWindow::stepZoom(int32_t direction) { setZoom(m_viewportMath.zoomCandidate(direction)); }

void PreviewWindow::setZoom(float factor) {
    if (!m_viewportMath.setZoom(factor)) return;
    // The bars are made to describe the newly painted canvas.
    if (redrawImage()) setupScrollBars();
}

// --- Scroll bars --------------------------------------------------------------------

void PreviewWindow::setupScrollBars() {
    m_canvas->setTopTwips(0);
    m_canvas->setLeftTwips(0);
    setupScrollBar(m_horizontalScrollBar, &ViewportMath::setHorizontalScrollStep, m_canvas->widthTwips(),
                   viewportOuterSize().width);
    setupScrollBar(m_verticalScrollBar, &ViewportMath::setVerticalScrollStep, m_canvas->heightTwips(),
                   viewportOuterSize().height);
}

void PreviewWindow::setupScrollBar(QScrollBar* bar, void (ViewportMath::*setStep)(int16_t), int32_t canvasSide,
                                   int32_t viewportOuterSide) {
    if (canvasSide <= viewportOuterSide) {
        bar->setEnabled(false);
        (m_viewportMath.*setStep)(0);
        return;
    }
    const int32_t overhang = canvasSide - viewportOuterSide;
    bar->setEnabled(true);
    bar->setMaximum(ViewportMath::scrollMaximum(overhang));
    (m_viewportMath.*setStep)(ViewportMath::scrollStep(overhang));
    bar->setValue(0);
}

void PreviewWindow::scrollCanvasHorizontally() {
    m_canvas->setLeftTwips(
        ViewportMath::scrollOffset(m_viewportMath.horizontalScrollStep(), m_horizontalScrollBar->value()));
}

void PreviewWindow::scrollCanvasVertically() {
    m_canvas->setTopTwips(
        ViewportMath::scrollOffset(m_viewportMath.verticalScrollStep(), m_verticalScrollBar->value()));
}

// --- Dragging -----------------------------------------------------------------------

namespace {
// Brings a bar to a percentage of its maximum; both bars alike.
void setScrollBarByPercent(QScrollBar* bar, int16_t percent) {
    if (const auto value = ViewportMath::valueForPercent(percent, bar->maximum())) bar->setValue(*value);
}
}  // namespace

void PreviewWindow::startDrag(float x, float y) {
    Trap trap(shell::ErrorLocation::DragStart);
    m_viewportMath.press(trap, {x, y});
}

void PreviewWindow::drag(Qt::MouseButtons buttons, float x, float y) {
    Trap trap(shell::ErrorLocation::Drag);
    if (!trap.condition(100, [&] { return buttons != Qt::NoButton; })) return;
    const TwipsPoint to = m_viewportMath.dragTo(trap, canvasRect(), viewportInnerSize(), {x, y});
    trap(124, [&] { m_canvas->moveTwips(to.x, to.y); });
}

void PreviewWindow::endDrag() {
    Trap trap(shell::ErrorLocation::DragEnd);
    // No percentage when a canvas side equals the viewport's: that bar stays.
    std::optional<int32_t> percentH = 0;
    std::optional<int32_t> percentV = 0;
    trap(100, [&] {
        percentH = ViewportMath::dragPercent(m_canvas->leftTwips(), m_canvas->widthTwips(),
                                             viewportOuterSize().width);
    });
    trap(102, [&] {
        percentV = ViewportMath::dragPercent(m_canvas->topTwips(), m_canvas->heightTwips(),
                                             viewportOuterSize().height);
    });
    trap(104, [&] {
        if (percentH) setScrollBarByPercent(m_horizontalScrollBar, ViewportMath::toInt16(*percentH));
    });
    trap(106, [&] {
        if (percentV) setScrollBarByPercent(m_verticalScrollBar, ViewportMath::toInt16(*percentV));
    });
}

TwipsRect PreviewWindow::canvasRect() const {
    return {m_canvas->leftTwips(), m_canvas->topTwips(), m_canvas->widthTwips(), m_canvas->heightTwips()};
}

TwipsSize PreviewWindow::viewportOuterSize() const { return {m_viewport->widthTwips(), m_viewport->heightTwips()}; }

TwipsSize PreviewWindow::viewportInnerSize() const {
    return {m_viewport->innerWidthTwips(), m_viewport->innerHeightTwips()};
}

// --- Pointer shapes -----------------------------------------------------------------

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    // Moves over the viewport and the bars reach the window too; only the bare
    // background counts here (the frame and the buttons report through the filter).
    if (!childAt(event->position().toPoint())) shell::untrapped([&] { pointerOverBackground(); });
    QWidget::mouseMoveEvent(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
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
