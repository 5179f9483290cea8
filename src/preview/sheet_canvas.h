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
//
// Screen readers read the sheet as a table (sheet_accessibility.h). While the canvas
// has the focus, Ctrl with an arrow key moves a cell cursor from cell to cell (a
// merged area is one cell), Ctrl+Home to the first cell and Ctrl+End to the last;
// the cursor shows from its first move until another picture comes. The plain keys
// are left to the window, which scrolls and zooms with them.
class SheetCanvas : public QWidget {
    Q_OBJECT
public:
    explicit SheetCanvas(QWidget* parent = nullptr);

    const generator::SheetPicture& picture() const { return m_picture; }
    void setPicture(const generator::SheetPicture& picture);
    // Counts the pictures set, so that what was read of an earlier one can be dropped.
    int pictureGeneration() const { return m_pictureGeneration; }

    // Shows the picture at zoom, its top-left corner at `position` (twips, relative
    // to the viewport), in a canvas of the drawn size (twips) cut to the viewport.
    void showPicture(double zoom, TwipsPoint position, TwipsSize drawn, TwipsSize viewport);

    double zoom() const { return m_zoom; }
    // Where the picture's top-left corner lies in this widget, in its pixels (whole
    // pixels of the screen).
    QPointF picturePosition() const { return m_position; }
    // Where a part of the picture at zoom 1 (its pixels) lies in this widget now.
    QRectF onWidget(const QRect& pictureRect) const;

    // The cell under the cell cursor, and whether the cursor shows.
    generator::SheetPicture::TableCell cursorCell() const;
    bool cursorShown() const { return m_cursorShown; }
    // Puts the cell cursor on the cell covering the table's place (row, column),
    // which lies in the table, and shows it.
    void moveCursorTo(int row, int column);

signals:
    void mouseDown(Qt::MouseButton button, TwipsPoint at);
    void mouseMove(Qt::MouseButtons buttons, TwipsPoint at);
    void mouseUp(Qt::MouseButton button, TwipsPoint at);
    // A right click without movement: the picture's menu, at a point of this widget.
    void menuRequested(QPoint at);
    // A paint of the widget is done (what the screen shows is up to date).
    void framePainted();
    // The cell cursor came to a cell lying at `pictureRect` (the picture's pixels at zoom 1).
    void cursorMoved(const QRect& pictureRect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // A point of this widget in twips of the picture.
    TwipsPoint onPicture(const QPointF& widgetPoint) const;
    // The widget's pixels the cell cursor paints on.
    QRect cursorRegion() const;

    generator::SheetPicture m_picture;
    int m_pictureGeneration = 0;
    double m_zoom = 1;
    QPointF m_position;
    std::optional<QPointF> m_rightPressAt;
    // The table's place the cursor was put on; the cell covering it is the cursor's.
    int m_cursorRow = 0;
    int m_cursorColumn = 0;
    bool m_cursorShown = false;
};

}  // namespace preview
