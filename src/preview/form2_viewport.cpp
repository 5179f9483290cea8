// The preview's viewport: first-activation set-up, zoom and repaint, scroll bars,
// dragging and the pointer shapes.
#include "preview/form2.h"
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

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed) {
        centreOnScreen();
        m_placed = true;
    }
    shell::untrapped([&] { Form_Activate(); });
}

void Form2::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        shell::untrapped([&] { Form_Activate(); });
}

void Form2::Form_Activate() {
    // A box shown by the set-up must not start the set-up over again.
    if (m_activating) return;
    const QScopedValueRollback activating(m_activating, true);

    Trap trap(shell::ErrorLocation::PreviewActivate);
    if (trap.condition(100, [&] { return m_firstActivate; })) {
        // The canvas keeps what is painted on it in any case; it sizes itself to
        // its picture and shows white where it has none.
        trap(104, [&] { m_picture1->setAutoSize(true); });
        trap(110, [&] { m_picture1->setBackColor(Qt::white); });
        // The reference box keeps the unscaled picture at its natural size.
        trap(114, [&] { m_zoomOri->hide(); });
        trap(116, [&] { m_zoomOri->setWidthTwips(m_picture1->widthTwips()); });
        trap(118, [&] { m_zoomOri->setHeightTwips(m_picture1->heightTwips()); });
        trap(122, [&] { m_zoomOri->setPicture(m_picture1->picture()); });
        m_view.setUp(trap, {m_zoomOri->innerWidthTwips(), m_zoomOri->innerHeightTwips()});
        trap(134, [&] { RedrawImage(); });
        trap(136, [&] { SetupScrollbars(); });
    }
    trap(138, [&] { m_firstActivate = false; });
}

// --- Repaint and zoom ---------------------------------------------------------------

bool Form2::RedrawImage() {
    Trap trap(shell::ErrorLocation::PreviewRedraw);
    if (!m_view.fitDrawSize(trap)) return false;
    trap(106, [&] { m_picture1->setPicture(QImage()); });
    trap(108, [&] { m_picture1->setWidthTwips(m_view.drawWidth()); });
    trap(110, [&] { m_picture1->setHeightTwips(m_view.drawHeight()); });
    trap(112, [&] {
        m_picture1->paintPicture(m_zoomOri->picture(), QRect(0, 0, m_view.origWidth(), m_view.origHeight()),
                                 QRect(0, 0, m_view.drawWidth(), m_view.drawHeight()));
    });
    trap(114, [&] { SetMousePointer(PointerShape::Default); });
    trap(116, [&] { m_hScroll1->setValue(0); });
    trap(118, [&] { m_vScroll1->setValue(0); });
    trap(120, [&] { m_hScroll1->setEnabled(viewportInner().width < m_view.drawWidth()); });
    trap(122, [&] { m_vScroll1->setEnabled(viewportInner().height < m_view.drawHeight()); });
    return true;
}

void Form2::PushButton1_Click() {
    Trap trap(shell::ErrorLocation::ZoomIn);
    trap(100, [&] { ZoomStep(0); });
}

void Form2::PushButton2_Click() {
    Trap trap(shell::ErrorLocation::ZoomOut);
    trap(100, [&] { ZoomStep(1); });
}

void Form2::ZoomStep(int32_t direction) { SetZoom(m_view.zoomCandidate(direction)); }

void Form2::SetZoom(float factor) {
    if (!m_view.setZoom(factor)) return;
    // The bars are made to describe the newly painted canvas.
    if (RedrawImage()) SetupScrollbars();
}

// --- Scroll bars --------------------------------------------------------------------

void Form2::SetupScrollbars() {
    m_picture1->setTopTwips(0);
    m_picture1->setLeftTwips(0);
    setupScrollbar(m_hScroll1, &ViewportMath::setHScrollStep, m_picture1->widthTwips(), viewportOuter().width);
    setupScrollbar(m_vScroll1, &ViewportMath::setVScrollStep, m_picture1->heightTwips(),
                   viewportOuter().height);
}

void Form2::setupScrollbar(QScrollBar* bar, void (ViewportMath::*setStep)(int16_t), int32_t canvasSide,
                           int32_t viewportOuterSide) {
    if (canvasSide <= viewportOuterSide) {
        bar->setEnabled(false);
        (m_view.*setStep)(0);
        return;
    }
    const int32_t overhang = canvasSide - viewportOuterSide;
    bar->setEnabled(true);
    bar->setMaximum(ViewportMath::scrollMaximum(overhang));
    (m_view.*setStep)(ViewportMath::scrollStep(overhang));
    bar->setValue(0);
}

void Form2::HScroll1_Change() {
    m_picture1->setLeftTwips(ViewportMath::scrollOffset(m_view.hScrollStep(), m_hScroll1->value()));
}

void Form2::VScroll1_Change() {
    m_picture1->setTopTwips(ViewportMath::scrollOffset(m_view.vScrollStep(), m_vScroll1->value()));
}

namespace {
// Both bars are brought to a percentage alike.
void setScrollbarByPercent(QScrollBar* bar, int16_t percent) {
    if (const auto value = ViewportMath::valueForPercent(percent, bar->maximum())) bar->setValue(*value);
}
}  // namespace

void Form2::SetHScrollbarByPercent(QScrollBar* bar, int16_t percent) { setScrollbarByPercent(bar, percent); }

void Form2::SetVScrollbarByPercent(QScrollBar* bar, int16_t percent) { setScrollbarByPercent(bar, percent); }

// --- Dragging -----------------------------------------------------------------------

void Form2::picture1_MouseDown(float x, float y) {
    Trap trap(shell::ErrorLocation::DragStart);
    m_view.press(trap, {x, y});
}

void Form2::picture1_MouseMove(Qt::MouseButtons buttons, float x, float y) {
    Trap trap(shell::ErrorLocation::Drag);
    if (!trap.condition(100, [&] { return buttons != Qt::NoButton; })) return;
    const TwipsPoint to = m_view.dragTo(trap, canvasRect(), viewportInner(), {x, y});
    trap(124, [&] { m_picture1->moveTwips(to.x, to.y); });
}

void Form2::Picture1_MouseUp() {
    Trap trap(shell::ErrorLocation::DragEnd);
    // No percentage when a canvas side equals the viewport's: that bar stays.
    std::optional<int32_t> percentH = 0;
    std::optional<int32_t> percentV = 0;
    trap(100, [&] {
        percentH = ViewportMath::dragPercent(m_picture1->leftTwips(), m_picture1->widthTwips(),
                                             viewportOuter().width);
    });
    trap(102, [&] {
        percentV = ViewportMath::dragPercent(m_picture1->topTwips(), m_picture1->heightTwips(),
                                             viewportOuter().height);
    });
    trap(104, [&] {
        if (percentH) SetHScrollbarByPercent(m_hScroll1, ViewportMath::toInt16(*percentH));
    });
    trap(106, [&] {
        if (percentV) SetVScrollbarByPercent(m_vScroll1, ViewportMath::toInt16(*percentV));
    });
}

TwipsRect Form2::canvasRect() const {
    return {m_picture1->leftTwips(), m_picture1->topTwips(), m_picture1->widthTwips(), m_picture1->heightTwips()};
}

TwipsSize Form2::viewportOuter() const { return {m_picture2->widthTwips(), m_picture2->heightTwips()}; }

TwipsSize Form2::viewportInner() const { return {m_picture2->innerWidthTwips(), m_picture2->innerHeightTwips()}; }

// --- Pointer shapes -----------------------------------------------------------------

void Form2::mouseMoveEvent(QMouseEvent* event) {
    // Moves over the viewport and the bars reach the window too; only the bare
    // background counts here (the frame and the buttons report through the filter).
    if (!childAt(event->position().toPoint())) shell::untrapped([&] { Form_MouseMove(); });
    QWidget::mouseMoveEvent(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_frame1)
            shell::untrapped([&] { Form_MouseMove(); });
        else if (qobject_cast<QPushButton*>(watched))
            shell::untrapped([&] { PushButton_MouseMove(); });
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::Form_MouseMove() {
    if (m_pointer != PointerShape::Busy) SetMousePointer(PointerShape::Default);
}

void Form2::PushButton_MouseMove() {
    if (m_pointer != PointerShape::Busy) SetMousePointer(PointerShape::Custom);
}

void Form2::SetMousePointer(PointerShape shape) {
    m_pointer = shape;
    switch (shape) {
        case PointerShape::Default: unsetCursor(); break;
        case PointerShape::Busy: setCursor(Qt::WaitCursor); break;
        case PointerShape::Custom: setCursor(m_customPointer); break;
    }
}

}  // namespace preview
