#include "device/src/CNormalKeyDefine.h"

#include <algorithm>

bool CNormalKeyDefine::toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *header)
{
    if (!startSingleBlock(buffer, blockSize, size, header, HeaderLength))
        return false;
    writeRecordHeader(buffer);
    // The facade refuses what does not fit; never write past the block all the same.
    const int n = std::clamp(std::min(count, int(codes.size())), 0, MaxCodes);
    buffer[5] = static_cast<unsigned char>(n);
    for (int i = 0; i < n; ++i)
        buffer[HeaderLength + i] = static_cast<unsigned char>(codes[size_t(i)]);
    return n == count;
}

bool CNormalKeyDefine::fromDeviceBytes(const unsigned char *bytes, int blockSize, int total)
{
    if (!bytes || blockSize != BlockSize || total < BlockSize)
        return false;
    // A count past the payload is a damaged record, not a long one: cut short, it would be a
    // different key that a later write would put back on the keyboard.
    if (bytes[5] > MaxCodes)
        return false;
    count = bytes[5];
    codes.assign(bytes + HeaderLength, bytes + HeaderLength + count);
    return true;
}
