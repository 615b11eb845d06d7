#include "profile/LargeBuffer.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

void LargeBuffer::advise(void *data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    if (bytes < Threshold)
        return;
    // madvise wants page-aligned ranges; the pages at both ends stay as they are.
    const auto page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const auto begin = (std::uintptr_t(data) + page - 1) & ~(page - 1);
    const auto end = (std::uintptr_t(data) + bytes) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
