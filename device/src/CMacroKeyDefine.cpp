#include "device/src/CMacroKeyDefine.h"

#include <algorithm>
#include <cstring>
#include <vector>

int CMacroKeyDefine::usableCount() const
{
    int n = std::min(count, int(codes.size()));
    if (hasDelays)
        n = std::min(n, int(delays.size()));
    return std::max(n, 0);
}

int CMacroKeyDefine::dataLength() const
{
    return hasDelays ? 4 * usableCount() : usableCount();
}

bool CMacroKeyDefine::toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *)
{
    const int length = dataLength();
    const int needed = BlockSize * blocksFor(length);
    if (!buffer) {
        size = needed;
        return false;
    }
    if (blockSize != BlockSize || size < needed || length > MaxDataLength)
        return false;

    std::vector<unsigned char> data(size_t(length), 0);
    const int n = usableCount();
    for (int i = 0; i < n; ++i) {
        const auto code = static_cast<unsigned char>(codes[size_t(i)]);
        if (!hasDelays) {
            data[size_t(i)] = code;
            continue;
        }
        const int delay = delays[size_t(i)];
        data[size_t(4 * i)] = code;
        data[size_t(4 * i + 1)] = DelayMarker;
        data[size_t(4 * i + 2)] = static_cast<unsigned char>((delay >> 8) & 0xFF);
        data[size_t(4 * i + 3)] = static_cast<unsigned char>(delay & 0xFF);
    }

    for (int block = 0; block * DataPerBlock < length; ++block) {
        unsigned char *out = buffer + BlockSize * block;
        writeRecordHeader(out);
        out[5] = static_cast<unsigned char>(cycles & 0xFF);
        out[6] = static_cast<unsigned char>(hasDelays & 0xFF);
        out[7] = static_cast<unsigned char>((interval >> 8) & 0xFF);
        out[8] = static_cast<unsigned char>(interval & 0xFF);
        // Every block carries the total length, not what remains.
        out[9] = static_cast<unsigned char>(length >> 8);
        out[10] = static_cast<unsigned char>(length & 0xFF);
        const int from = DataPerBlock * block;
        const int take = std::min(DataPerBlock, length - from);
        std::memcpy(out + HeaderLength, data.data() + from, size_t(take));
    }
    return n == count;
}

bool CMacroKeyDefine::fromDeviceBytes(const unsigned char *bytes, int blockSize, int total)
{
    if (!bytes || blockSize != BlockSize || total < BlockSize)
        return false;
    cycles = bytes[5];
    hasDelays = bytes[6];
    interval = bytes[7] * 256 + bytes[8];
    const int length = bytes[9] * 256 + bytes[10];

    const int blocks = total / BlockSize;
    std::vector<unsigned char> data;
    data.reserve(size_t(blocks * DataPerBlock));
    for (int block = 0; block < blocks; ++block) {
        const unsigned char *in = bytes + BlockSize * block + HeaderLength;
        data.insert(data.end(), in, in + DataPerBlock);
    }
    const int available = int(data.size());

    if (!hasDelays) {
        count = std::min(length, available);
        codes.assign(data.begin(), data.begin() + count);
        delays.assign(size_t(count), 0);
        return true;
    }
    // The last entry's delay is sent but the keyboard's own reading ignores it, and so do we.
    count = std::min((length - 1) / 4 + 1, (available - 1) / 4 + 1);
    codes.assign(size_t(count), 0);
    delays.assign(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        codes[size_t(i)] = data[size_t(4 * i)];
        if (i + 1 < count)
            delays[size_t(i)] = data[size_t(4 * i + 2)] * 256 + data[size_t(4 * i + 3)];
    }
    return true;
}
