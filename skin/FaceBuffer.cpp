#include "skin/FaceBuffer.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace FaceBuffer {

void *allocate(std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::size_t HugePage = std::size_t(2) << 20;
    if (bytes >= HugePage) {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        if (void *memory = std::aligned_alloc(HugePage, rounded)) {
            // Only advice: without huge pages the memory is simply used as it is.
            ::madvise(memory, rounded, MADV_HUGEPAGE);
            return memory;
        }
    }
#endif
    // Room for a premultiplied row anywhere in it.
    return std::aligned_alloc(64, (bytes + 63) / 64 * 64);
}

QImage create(const QSize &size)
{
    const std::size_t bytes = std::size_t(qMax(size.width(), 0)) * 4 * qMax(size.height(), 0);
    if (bytes > 0) {
        if (void *memory = allocate(bytes)) {
            QImage image(static_cast<uchar *>(memory), size.width(), size.height(),
                         qsizetype(size.width()) * 4, QImage::Format_ARGB32_Premultiplied,
                         std::free, memory);
            if (!image.isNull())
                return image;
            std::free(memory);
        }
    }
    return QImage(size, QImage::Format_ARGB32_Premultiplied);
}

} // namespace FaceBuffer
