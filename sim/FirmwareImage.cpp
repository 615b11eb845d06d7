#include "sim/FirmwareImage.h"

namespace quillosim {

void FirmwareImage::write(std::uint32_t address, const std::uint8_t *bytes, std::size_t count)
{
    if (count == 0)
        return;
    // Hex files come in address order, so a record almost always continues the last run.
    if (!m_segments.empty()) {
        Segment &last = m_segments.back();
        if (std::uint64_t(last.address) + last.bytes.size() == address) {
            last.bytes.insert(last.bytes.end(), bytes, bytes + count);
            m_size += count;
            return;
        }
    }
    m_segments.push_back({address, std::vector<std::uint8_t>(bytes, bytes + count)});
    m_size += count;
}

void FirmwareImage::clear()
{
    m_segments.clear();
    m_size = 0;
}

std::optional<std::uint8_t> FirmwareImage::byteAt(std::uint32_t address) const
{
    // Later records win where records overlap.
    for (auto it = m_segments.rbegin(); it != m_segments.rend(); ++it) {
        if (address >= it->address && address - it->address < it->bytes.size())
            return it->bytes[address - it->address];
    }
    return std::nullopt;
}

} // namespace quillosim
