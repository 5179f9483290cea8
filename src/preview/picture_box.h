#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

namespace preview {

// A picture box: a background picture and a drawing surface that keeps what is
// painted on it. The surface is what shows: the background colour, the picture at
// the top-left corner, then any painting. With auto-size on, assigning a picture
// sizes the box to it. Geometry and mouse positions are given in twips; mouse
// positions are relative to the box's own top-left corner.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    // Assigns the background picture (a null image drops it); the surface starts
    // afresh from it and earlier painting is gone.
    void setPicture(const QImage& picture);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    QColor backColor() const { return m_backColor; }
    // A new background colour also starts the surface afresh.
    void setBackColor(const QColor& color);

    // Paints the part `source` of image, stretched or shrunk to `target`, onto the
    // surface as a plain copy (rectangles in twips; source in the image's pixels
    // times 15).
    void paintPicture(const QImage& image, const QRect& sourceTwips, const QRect& targetTwips);
    // What the box shows, for checks and snapshots.
    const QImage& surface() const;

    int32_t leftTwips() const;
    int32_t topTwips() const;
    int32_t widthTwips() const;
    int32_t heightTwips() const;
    // The client area inside the border (a box without a border: its whole size).
    int32_t innerWidthTwips() const;
    int32_t innerHeightTwips() const;
    void setLeftTwips(double left);
    void setTopTwips(double top);
    void setWidthTwips(double width);
    void setHeightTwips(double height);
    // Moves the box in one operation, size unchanged.
    void moveTwips(double left, double top);

signals:
    void mouseDown(Qt::MouseButton button, float x, float y);
    void mouseMove(Qt::MouseButtons buttons, float x, float y);
    void mouseUp(Qt::MouseButton button, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void restartSurface();
    // Brings the surface to the box's size (a hidden box gets no resize events).
    void fitSurface() const;

    QImage m_picture;
    mutable QImage m_surface;
    QColor m_backColor = Qt::white;
    bool m_autoSize = false;
};

// Twips to whole pixels, to the nearest; never below zero for a size.
int PixelsFromTwips(double twips);
int PixelSizeFromTwips(double twips);

}  // namespace preview
