#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillosim {

// A firmware image as the loader received it: runs of bytes at flash addresses.
class FirmwareImage {
public:
    struct Segment {
        std::uint32_t address = 0;
        std::vector<std::uint8_t> bytes;
    };

    void write(std::uint32_t address, const std::uint8_t *bytes, std::size_t count);
    void clear();

    bool empty() const { return m_segments.empty(); }
    std::size_t size() const { return m_size; } // bytes written, overlaps counted twice
    const std::vector<Segment> &segments() const { return m_segments; }
    // The byte last written at `address`, if any.
    std::optional<std::uint8_t> byteAt(std::uint32_t address) const;

private:
    std::vector<Segment> m_segments;
    std::size_t m_size = 0;
};

} // namespace quillosim
