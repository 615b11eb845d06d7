#pragma once

#include <cstddef>
#include <cstdint>

namespace quillodev {

// What an interface's HID report descriptor says about the reports it carries.
class ReportDescriptor {
public:
    // True when the descriptor is well formed, numbers no reports and has one 64-byte input
    // and one 64-byte output report: the shape the keyboard's settings interface has. A boot
    // keyboard or any other device on the same interface number fails it, so it is never
    // written to.
    static bool carriesKeyboardReports(const std::uint8_t *bytes, std::size_t size);
};

} // namespace quillodev
