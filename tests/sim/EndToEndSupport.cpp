#include "EndToEndSupport.h"

#include <cstdio>

namespace simtest {

namespace {

int codeAt(int slot, int i)
{
    return 1 + (slot * 31 + i * 7) % 255;
}

std::vector<int> macro(int slot, int playMode, bool delays, int entries)
{
    std::vector<int> config = {2,
                               playMode,
                               playMode == 0 ? 1 + slot % 200 : 0,
                               delays ? 1 : 0,
                               delays ? 0 : 10 + slot,
                               entries};
    for (int i = 0; i < entries; ++i) {
        config.push_back(codeAt(slot, i));
        if (delays)
            config.push_back((slot * 97 + i * 13) % 65536);
    }
    return config;
}

} // namespace

std::vector<int> configurationFor(int slot)
{
    switch (slot) {
    case 5:
        return macro(slot, 0, true, 400); // 1600 data bytes
    case 60:
        return macro(slot, 1, false, 1600);
    case 130:
        return macro(slot, 2, true, 1000); // 4000 data bytes
    case 215:
        return macro(slot, 0, false, 65535); // the longest a record can carry
    default:
        break;
    }
    const int kind = slot % 5;
    if (kind == 0 || kind == 1) {
        const int n = kind == 0 ? 1 : 1 + slot % 58;
        std::vector<int> config = {0, n};
        for (int i = 0; i < n; ++i)
            config.push_back(codeAt(slot, i));
        return config;
    }
    if (kind == 2) {
        const int n = 1 + slot % 56;
        std::vector<int> config = {1, (slot * 211) % 65536, n};
        for (int i = 0; i < n; ++i)
            config.push_back(codeAt(slot, i));
        return config;
    }
    return macro(slot, slot % 3, kind == 3, 1 + slot % 30);
}

std::vector<int> expectedReadBack(const std::vector<int> &config, int untouched)
{
    std::vector<int> expected = config;
    if (config[0] == 2 && config[3] == 1)
        expected.back() = untouched;
    return expected;
}

} // namespace simtest
