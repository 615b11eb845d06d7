#pragma once

// What one key does on one layer, in the form that travels in the keyboard's reports.
class CKeyDefine {
public:
    static constexpr int BlockSize = 64;

    virtual ~CKeyDefine() = default;

    // Without a buffer: stores the bytes needed in `size` (and the header length in `header`
    // where the record has a fixed one) and returns false. With a buffer: `size` is the room
    // in it; the record writes its blocks and returns true when everything it holds fitted.
    virtual bool toDeviceBytes(unsigned char *buffer, int blockSize, int &size, int *header) = 0;
    // Fills the record from `total` bytes of whole blocks; key, layer and type are already set.
    // False for bytes that no record can hold (a count past the payload).
    virtual bool fromDeviceBytes(const unsigned char *bytes, int blockSize, int total) = 0;

    int key = 0;
    int layer = 0;
    int type = 0;

protected:
    CKeyDefine(int key, int layer, int type)
        : key(key)
        , layer(layer)
        , type(type)
    {}
    CKeyDefine(const CKeyDefine &) = default;
    CKeyDefine &operator=(const CKeyDefine &) = default;

    // Payload bytes 0..4 shared by every record.
    void writeRecordHeader(unsigned char *block) const;
    // The common start of a one-block record's encoding: answers a size query, or checks the
    // room and clears the block. True when the caller goes on to write the block.
    static bool startSingleBlock(unsigned char *buffer, int blockSize, int &size, int *header,
                                 int headerLength);
};
