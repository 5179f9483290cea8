#pragma once

#include "generator/sheet_picture.h"
#include "preview/viewport_math.h"

#include <QPointF>
#include <QWidget>
#include <optional>

namespace preview {

// The canvas: the sheet's picture as the viewport shows it. The widget lies at the
// viewport's top-left corner, as large as the viewport or as the picture where the
// picture is smaller; the picture itself is virtual and lies under it at a position
// (≤ 0) given in twips. Only what the widget shows is painted, and it is painted
// when shown, at the zoom and the screen's device pixel ratio, so text stays sharp.
// Mouse positions are reported in twips relative to the picture's top-left corner.
class SheetCanvas : public QWidget {
    Q_OBJECT
public:
    explicit SheetCanvas(QWidget* parent = nullptr);

    const generator::SheetPicture& picture() const { return m_picture; }
    void setPicture(const generator::SheetPicture& picture);

    // Shows the picture at zoom, its top-left corner at `position` (twips, relative
    // to the viewport), in a canvas of the drawn size (twips) cut to the viewport.
    void showPicture(double zoom, TwipsPoint position, TwipsSize drawn, TwipsSize viewport);

    double zoom() const { return m_zoom; }
    // Where the picture's top-left corner lies in this widget, in its pixels (whole
    // pixels of the screen).
    QPointF picturePosition() const { return m_position; }

signals:
    void mouseDown(Qt::MouseButton button, TwipsPoint at);
    void mouseMove(Qt::MouseButtons buttons, TwipsPoint at);
    void mouseUp(Qt::MouseButton button, TwipsPoint at);
    // A right click without movement: the picture's menu, at a point of this widget.
    void menuRequested(QPoint at);
    // A paint of the widget is done (what the screen shows is up to date).
    void framePainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // A point of this widget in twips of the picture.
    TwipsPoint onPicture(const QPointF& widgetPoint) const;

    generator::SheetPicture m_picture;
    double m_zoom = 1;
    QPointF m_position;
    std::optional<QPointF> m_rightPressAt;
};

}  // namespace preview
