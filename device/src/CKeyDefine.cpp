#include "device/src/CKeyDefine.h"

#include <cstring>

void CKeyDefine::writeRecordHeader(unsigned char *block) const
{
    block[0] = 0x00;
    block[1] = 0xF0;
    block[2] = static_cast<unsigned char>(layer);
    block[3] = static_cast<unsigned char>(key);
    block[4] = static_cast<unsigned char>(type);
}

bool CKeyDefine::startSingleBlock(unsigned char *buffer, int blockSize, int &size, int *header,
                                  int headerLength)
{
    if (!buffer) {
        size = BlockSize;
        if (header)
            *header = headerLength;
        return false;
    }
    if (blockSize != BlockSize || size < BlockSize)
        return false;
    std::memset(buffer, 0, size_t(size));
    return true;
}
