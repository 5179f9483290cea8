#include "preview/picture_box.h"

#include "shell/twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace preview {

int PixelsFromTwips(double twips) { return shell::TwipsToPixels(static_cast<int>(std::lround(twips))); }

int PixelSizeFromTwips(double twips) { return std::max(0, PixelsFromTwips(twips)); }

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    restartSurface();
}

void PictureBox::setPicture(const QImage& picture) {
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull()) resize(m_picture.size());
    restartSurface();
}

void PictureBox::setAutoSize(bool on) {
    m_autoSize = on;
    if (m_autoSize && !m_picture.isNull()) resize(m_picture.size());
}

void PictureBox::setBackColor(const QColor& color) {
    m_backColor = color;
    restartSurface();
}

void PictureBox::restartSurface() {
    update();
    m_surface = QImage();
    if (size().isEmpty()) return;
    m_surface = QImage(size(), QImage::Format_RGB32);
    m_surface.fill(m_backColor);
    if (!m_picture.isNull()) {
        QPainter painter(&m_surface);
        painter.drawImage(0, 0, m_picture);
    }
}

void PictureBox::paintPicture(const QImage& image, const QRect& sourceTwips, const QRect& targetTwips) {
    const QRect source(PixelsFromTwips(sourceTwips.left()), PixelsFromTwips(sourceTwips.top()),
                       PixelSizeFromTwips(sourceTwips.width()), PixelSizeFromTwips(sourceTwips.height()));
    const QRect target(PixelsFromTwips(targetTwips.left()), PixelsFromTwips(targetTwips.top()),
                       PixelSizeFromTwips(targetTwips.width()), PixelSizeFromTwips(targetTwips.height()));
    if (image.isNull() || source.isEmpty() || target.isEmpty()) return;
    fitSurface();
    if (m_surface.isNull()) return;
    const QImage piece = image.copy(source).scaled(target.size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
    QPainter painter(&m_surface);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.topLeft(), piece);
    painter.end();
    update();
}

int32_t PictureBox::leftTwips() const { return shell::PixelsToTwips(x()); }
int32_t PictureBox::topTwips() const { return shell::PixelsToTwips(y()); }
int32_t PictureBox::widthTwips() const { return shell::PixelsToTwips(width()); }
int32_t PictureBox::heightTwips() const { return shell::PixelsToTwips(height()); }
int32_t PictureBox::innerWidthTwips() const { return shell::PixelsToTwips(contentsRect().width()); }
int32_t PictureBox::innerHeightTwips() const { return shell::PixelsToTwips(contentsRect().height()); }

void PictureBox::setLeftTwips(double left) { move(PixelsFromTwips(left), y()); }
void PictureBox::setTopTwips(double top) { move(x(), PixelsFromTwips(top)); }
void PictureBox::setWidthTwips(double width) { resize(PixelSizeFromTwips(width), height()); }
void PictureBox::setHeightTwips(double height) { resize(width(), PixelSizeFromTwips(height)); }

void PictureBox::moveTwips(double left, double top) { move(PixelsFromTwips(left), PixelsFromTwips(top)); }

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface());
}

void PictureBox::fitSurface() const {
    if (m_surface.size() == size()) return;
    if (size().isEmpty()) {
        m_surface = QImage();
        return;
    }
    // What was painted stays at the top-left corner; new area shows the background.
    QImage fitted(size(), QImage::Format_RGB32);
    fitted.fill(m_backColor);
    QPainter painter(&fitted);
    painter.drawImage(0, 0, m_surface);
    painter.end();
    m_surface = fitted;
}

const QImage& PictureBox::surface() const {
    fitSurface();
    return m_surface;
}

namespace {
float twipsOf(qreal pixels) { return static_cast<float>(pixels * shell::kTwipsPerPixel); }
}  // namespace

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(event->buttons(), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->button(), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

}  // namespace preview
