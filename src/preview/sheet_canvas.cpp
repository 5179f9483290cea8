#include "preview/sheet_canvas.h"

#include "preview/sheet_accessibility.h"
#include "shell/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// The cell cursor is a frame this many pixels wide just inside the cell's edges.
constexpr double kCursorWidth = 2;

double pixelsOf(double twips) { return twips / shell::kTwipsPerPixel; }

// Twips as whole pixels of a screen with the given device pixel ratio.
double onScreenPixels(double twips, double ratio) { return std::round(pixelsOf(twips) * ratio) / ratio; }

}  // namespace

SheetCanvas::SheetCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The right button drags like the others: the menu opens on its release
    // without movement (menuRequested), not on its press.
    setContextMenuPolicy(Qt::PreventContextMenu);
    installSheetAccessibility();
}

void SheetCanvas::setPicture(const generator::SheetPicture& picture) {
    m_picture = picture;
    ++m_pictureGeneration;
    m_cursorRow = 0;
    m_cursorColumn = 0;
    m_cursorShown = false;
    update();
    announceNewSheet(*this);
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

QRectF SheetCanvas::onWidget(const QRect& pictureRect) const {
    return QRectF(QPointF(pictureRect.topLeft()) * m_zoom + m_position, QSizeF(pictureRect.size()) * m_zoom);
}

generator::SheetPicture::TableCell SheetCanvas::cursorCell() const {
    return m_picture.tableCell(m_cursorRow, m_cursorColumn);
}

QRect SheetCanvas::cursorRegion() const {
    return onWidget(cursorCell().rect).toAlignedRect().adjusted(-1, -1, 1, 1);
}

void SheetCanvas::moveCursorTo(int row, int column) {
    if (m_cursorShown) update(cursorRegion());
    m_cursorRow = row;
    m_cursorColumn = column;
    m_cursorShown = true;
    update(cursorRegion());
    emit cursorMoved(cursorCell().rect);
    announceCursorCell(*this);
}

void SheetCanvas::keyPressEvent(QKeyEvent* event) {
    const int rows = m_picture.tableRowCount();
    const int columns = m_picture.tableColumnCount();
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier || rows == 0 || columns == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const generator::SheetPicture::TableCell cell = cursorCell();
    int row = m_cursorRow;
    int column = m_cursorColumn;
    switch (event->key()) {
    case Qt::Key_Left: column = cell.column - 1; break;
    case Qt::Key_Right: column = cell.column + cell.columnSpan; break;
    case Qt::Key_Up: row = cell.row - 1; break;
    case Qt::Key_Down: row = cell.row + cell.rowSpan; break;
    case Qt::Key_Home: row = column = 0; break;
    case Qt::Key_End:
        row = rows - 1;
        column = columns - 1;
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    moveCursorTo(std::clamp(row, 0, rows - 1), std::clamp(column, 0, columns - 1));
}

void SheetCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::white);
    painter.translate(m_position);
    m_picture.paint(painter, QRectF(exposed).translated(-m_position), m_zoom);
    if (m_cursorShown && hasFocus()) {
        painter.resetTransform();
        const double inset = kCursorWidth / 2;
        painter.setPen(QPen(palette().color(QPalette::Highlight), kCursorWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(onWidget(cursorCell().rect).adjusted(inset, inset, -inset, -inset));
    }
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
