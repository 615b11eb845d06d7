#pragma once

#include <array>

// Keys picked on the virtual keyboard, as device codes: one for a single key, up to six for
// a combination. The key settings dialog reads what the virtual keyboard left here.
struct VirtualKeyPicks {
    int virtualPick = 0;
    std::array<int, 6> virtualPicks{};
    int virtualPickCount = 0;
};
