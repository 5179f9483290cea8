#pragma once

#include <QImage>

namespace engine {

// The engine's own clipboard, shared by every instance in the process. It holds
// the picture that CopyPicture puts there; the system clipboard is never touched.
class Clipboard {
public:
    static void setPicture(const QImage& picture);
    // The picture last put there; a null image when there is none.
    static QImage picture();
    static bool hasPicture();
    static void clear();
};

}  // namespace engine
