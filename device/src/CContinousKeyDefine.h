#pragma once

#include "device/src/CKeyDefine.h"

#include <vector>

// A list of key codes repeated at an interval while the key is held.
class CContinousKeyDefine : public CKeyDefine {
public:
    static constexpr int HeaderLength = 8;
    static constexpr int MaxCodes = BlockSize - HeaderLength;

    CContinousKeyDefine(int key = 0, int layer = 0)
        : CKeyDefine(key, layer, 1)
    {}

    bool toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *header) override;
    bool fromDeviceBytes(const unsigned char *bytes, int blockSize, int total) override;

    int interval = 0;
    std::vector<int> codes;
    int count = 0;
};
