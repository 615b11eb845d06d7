#pragma once

#include "device/src/CKeyDefine.h"

#include <vector>

// A list of key codes sent together.
class CNormalKeyDefine : public CKeyDefine {
public:
    static constexpr int HeaderLength = 6;
    static constexpr int MaxCodes = BlockSize - HeaderLength;

    CNormalKeyDefine(int key = 0, int layer = 0)
        : CKeyDefine(key, layer, 0)
    {}

    bool toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *header) override;
    bool fromDeviceBytes(const unsigned char *bytes, int blockSize, int total) override;

    std::vector<int> codes;
    int count = 0;
};
