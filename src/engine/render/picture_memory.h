#pragma once

#include <QImage>
#include <QSize>

namespace engine::render {

// A new 32-bit image of the given size, contents undefined; null when the memory
// cannot be had. A large picture's memory is asked from the system in huge pages
// where it offers them: first touching some 50 MB page by 4 KB page costs far more
// than drawing the whole picture.
QImage newPictureImage(const QSize& size);

}  // namespace engine::render
