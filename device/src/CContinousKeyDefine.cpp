#include "device/src/CContinousKeyDefine.h"

#include <algorithm>

bool CContinousKeyDefine::toDeviceBytes(unsigned char *buffer, int blockSize, int &size,
                                        int *header)
{
    if (!startSingleBlock(buffer, blockSize, size, header, HeaderLength))
        return false;
    writeRecordHeader(buffer);
    // Without codes the keyboard gets the bare header; the caller sends it all the same.
    if (count <= 0)
        return false;
    const int n = std::min({count, int(codes.size()), MaxCodes});
    buffer[5] = static_cast<unsigned char>((interval >> 8) & 0xFF);
    buffer[6] = static_cast<unsigned char>(interval & 0xFF);
    buffer[7] = static_cast<unsigned char>(n);
    for (int i = 0; i < n; ++i)
        buffer[HeaderLength + i] = static_cast<unsigned char>(codes[size_t(i)]);
    return n == count;
}

bool CContinousKeyDefine::fromDeviceBytes(const unsigned char *bytes, int blockSize, int total)
{
    if (!bytes || blockSize != BlockSize || total < BlockSize)
        return false;
    // A count past the payload is a damaged record; see CNormalKeyDefine.
    if (bytes[7] > MaxCodes)
        return false;
    interval = bytes[5] * 256 + bytes[6];
    count = bytes[7];
    codes.assign(bytes + HeaderLength, bytes + HeaderLength + count);
    return true;
}
