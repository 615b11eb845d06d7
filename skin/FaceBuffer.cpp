#include "skin/FaceBuffer.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace FaceBuffer {

namespace {

// What lies in front of the memory handed out: where its block starts and, for a mapping of its
// own, how long that is. 64 bytes keep the memory after it aligned.
struct alignas(64) MappingHead {
    std::uint64_t magic;
    void *start;
    std::size_t length;
};
constexpr std::uint64_t HeapMagic = 0x5146424648454150; // from the heap

#if defined(__linux__)
// Below this the heap serves: small buffers come and go with little to give back.
constexpr std::size_t OwnMapping = std::size_t(256) << 10;
constexpr std::size_t PageSize = 4096;
constexpr std::uint64_t MappedMagic = 0x514642464D415050; // a mapping of its own
#endif

std::size_t roundUp(std::size_t value, std::size_t to)
{
    return (value + to - 1) / to * to;
}

} // namespace

void *allocate(std::size_t bytes)
{
    if (bytes > (std::size_t(1) << 40))
        return nullptr;
    const std::size_t total = sizeof(MappingHead) + bytes;
#if defined(__linux__)
    if (bytes >= OwnMapping) {
        // Faulted in by the kernel in one go rather than 4 KB at a time as it is first
        // written; huge pages would do that too, but round every face up to whole 2 MB.
        const std::size_t length = roundUp(total, PageSize);
        void *mapped = ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped != MAP_FAILED) {
            auto *head = static_cast<MappingHead *>(mapped);
            *head = {MappedMagic, mapped, length};
            return head + 1;
        }
    }
#endif
    auto *head = static_cast<MappingHead *>(std::aligned_alloc(64, roundUp(total, 64)));
    if (!head)
        return nullptr;
    *head = {HeapMagic, head, 0};
    return head + 1;
}

void release(void *memory)
{
    if (!memory)
        return;
    MappingHead *head = static_cast<MappingHead *>(memory) - 1;
#if defined(__linux__)
    if (head->magic == MappedMagic) {
        ::munmap(head->start, head->length);
        return;
    }
#endif
    std::free(head->start);
}

QImage create(const QSize &size)
{
    const std::size_t bytes = std::size_t(qMax(size.width(), 0)) * 4 * qMax(size.height(), 0);
    if (bytes > 0) {
        if (void *memory = allocate(bytes)) {
            QImage image(static_cast<uchar *>(memory), size.width(), size.height(),
                         qsizetype(size.width()) * 4, QImage::Format_ARGB32_Premultiplied, release,
                         memory);
            if (!image.isNull())
                return image;
            release(memory);
        }
    }
    return QImage(size, QImage::Format_ARGB32_Premultiplied);
}

} // namespace FaceBuffer
