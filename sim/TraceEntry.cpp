#include "sim/TraceEntry.h"

namespace quillosim {

std::string TraceEntry::toLine() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string line = direction == Direction::Written ? ">" : "<";
    line.reserve(2 + 3 * bytes.size());
    for (std::uint8_t byte : bytes) {
        line += ' ';
        line += digits[byte >> 4];
        line += digits[byte & 0xF];
    }
    return line;
}

} // namespace quillosim
