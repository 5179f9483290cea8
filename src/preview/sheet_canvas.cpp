#include "preview/sheet_canvas.h"

#include "shell/twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace preview {

namespace {

double pixelsOf(double twips) { return twips / shell::kTwipsPerPixel; }

// Twips as whole pixels of a screen with the given device pixel ratio.
double onScreenPixels(double twips, double ratio) { return std::round(pixelsOf(twips) * ratio) / ratio; }

}  // namespace

SheetCanvas::SheetCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The right button drags like the others: the menu opens on its release
    // without movement (menuRequested), not on its press.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void SheetCanvas::setPicture(const generator::SheetPicture& picture) {
    m_picture = picture;
    update();
}

void SheetCanvas::showPicture(double zoom, TwipsPoint position, TwipsSize drawn, TwipsSize viewport) {
    const double ratio = devicePixelRatioF();
    const QPointF at(onScreenPixels(position.x, ratio), onScreenPixels(position.y, ratio));
    const QSize size(static_cast<int>(std::ceil(pixelsOf(std::min(drawn.width, viewport.width)))),
                     static_cast<int>(std::ceil(pixelsOf(std::min(drawn.height, viewport.height)))));
    const QPointF moved = at - m_position;
    const bool onlyMoved = zoom == m_zoom && size == this->size();
    m_zoom = zoom;
    m_position = at;
    if (size != this->size()) resize(size);
    if (!onlyMoved) {
        update();
    } else if (moved != QPointF()) {
        // What stays in view is moved as it is, and only what comes into view is painted.
        const QPoint whole = moved.toPoint();
        if (QPointF(whole) == moved) scroll(whole.x(), whole.y());
        else update();
    }
}

void SheetCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::white);
    painter.translate(m_position);
    m_picture.paint(painter, QRectF(exposed).translated(-m_position), m_zoom);
    painter.end();
    emit framePainted();
}

TwipsPoint SheetCanvas::onPicture(const QPointF& widgetPoint) const {
    const QPointF at = (widgetPoint - m_position) * shell::kTwipsPerPixel;
    return {at.x(), at.y()};
}

void SheetCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) m_rightPressAt = event->position();
    emit mouseDown(event->button(), onPicture(event->position()));
}

void SheetCanvas::mouseMoveEvent(QMouseEvent* event) { emit mouseMove(event->buttons(), onPicture(event->position())); }

void SheetCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->button(), onPicture(event->position()));
    if (event->button() == Qt::RightButton && m_rightPressAt &&
        (event->position() - *m_rightPressAt).manhattanLength() < QApplication::startDragDistance())
        emit menuRequested(event->position().toPoint());
    if (event->button() == Qt::RightButton) m_rightPressAt.reset();
}

}  // namespace preview
