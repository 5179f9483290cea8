#include "engine/clipboard.h"

namespace engine {

namespace {

QImage& stored() {
    static QImage picture;
    return picture;
}

}  // namespace

void Clipboard::setPicture(const QImage& picture) { stored() = picture; }
QImage Clipboard::picture() { return stored(); }
bool Clipboard::hasPicture() { return !stored().isNull(); }
void Clipboard::clear() { stored() = QImage(); }

}  // namespace engine
