#include "engine/render/picture_memory.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace engine::render {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this, an ordinary image is quick enough.
constexpr std::size_t kLargePicture = std::size_t{8} << 20;

void releaseMemory(void* memory) { std::free(memory); }

}  // namespace

QImage newPictureImage(const QSize& size) {
    constexpr QImage::Format format = QImage::Format_RGB32;
    const std::size_t bytesPerLine = static_cast<std::size_t>(size.width()) * 4;
    const std::size_t bytes = bytesPerLine * static_cast<std::size_t>(size.height());
#ifdef __linux__
    if (bytes >= kLargePicture) {
        void* memory = nullptr;
        if (posix_memalign(&memory, kHugePage, bytes) != 0) return {};
        madvise(memory, bytes, MADV_HUGEPAGE);  // advice only: fine if refused
        return QImage(static_cast<uchar*>(memory), size.width(), size.height(),
                      static_cast<qsizetype>(bytesPerLine), format, releaseMemory, memory);
    }
#endif
    return QImage(size, format);
}

}  // namespace engine::render
