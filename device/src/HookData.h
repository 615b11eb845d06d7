#pragma once

#include <quillodev/MessageTarget.h>

#include <atomic>
#include <cstdint>

namespace quillodev {

// The hook's state. Kept per process: the target is a pointer into this process, which a
// section shared with other processes could not hold safely.
struct HookData {
    std::atomic<std::uintptr_t> hook{0};
    std::atomic<WindowHandle> window{nullptr};
};

HookData &hookData();

} // namespace quillodev
