#pragma once

#include <cstddef>
#include <string>

// Large document buffers (tens of megabytes for the biggest profiles) are faulted in page by
// page on first touch; asking the kernel for huge pages makes that a few hundred times fewer.
namespace LargeBuffer {

inline constexpr std::size_t Threshold = std::size_t(2) << 20;

// Advises huge pages for the unused capacity of a string; harmless where not supported.
void advise(void *data, std::size_t bytes);

// Room for a string that is about to grow to `size`, with the advice given before the memory
// is first touched.
template<typename String>
void reserve(String &s, std::size_t size)
{
    if (size * sizeof(typename String::value_type) >= Threshold && s.capacity() < size) {
        s.clear();
        s.reserve(size);
        advise(s.data(), s.capacity() * sizeof(typename String::value_type));
    } else {
        s.reserve(size);
    }
}

// Sets the size of a string whose contents are about to be overwritten, likewise.
template<typename String>
void prepare(String &s, std::size_t size)
{
    reserve(s, size);
    s.resize(size);
}

} // namespace LargeBuffer
