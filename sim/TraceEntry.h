#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillosim {

// One report that crossed the cable: the 65 bytes the host wrote, or the payload it read.
struct TraceEntry {
    enum class Direction { Written, Read };
    Direction direction = Direction::Written;
    std::vector<std::uint8_t> bytes;

    // "> " or "< " and the bytes in lower-case hexadecimal separated by spaces, no line end.
    std::string toLine() const;
};

// Called for every entry as it happens, on the thread that moved the report, while the
// keyboard is locked: it must not call back into the keyboard.
using TraceObserver = std::function<void(const TraceEntry &)>;

} // namespace quillosim
