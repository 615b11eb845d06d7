#pragma once

#include "device/src/CKeyDefine.h"

#include <vector>

// A recorded sequence of key codes, optionally with a delay after each. The type is the play
// mode: 2 plays `cycles` times, 3 plays while the key is held, 4 toggles with each press.
class CMacroKeyDefine : public CKeyDefine {
public:
    static constexpr int HeaderLength = 11;
    static constexpr int DataPerBlock = BlockSize - HeaderLength; // 53
    static constexpr int MaxDataLength = 0xFFFF;                  // sent in 16 bits
    static constexpr int DelayMarker = 0xC8;

    CMacroKeyDefine(int key = 0, int layer = 0, int type = 2)
        : CKeyDefine(key, layer, type)
    {}

    bool toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *header) override;
    bool fromDeviceBytes(const unsigned char *bytes, int blockSize, int total) override;

    // Bytes of the data stream: one per code, or four per entry when delays are carried.
    int dataLength() const;
    static constexpr int blocksFor(int dataLength)
    {
        return (dataLength + DataPerBlock - 1) / DataPerBlock;
    }

    int hasDelays = 0;
    int cycles = 0;
    std::vector<int> delays;
    std::vector<int> codes;
    int count = 0;
    int interval = 0;

private:
    int usableCount() const;
};
