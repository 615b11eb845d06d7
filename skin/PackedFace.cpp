#include "skin/PackedFace.h"

#include "skin/FaceBuffer.h"
#include "skin/SkinFaceFormat.h"

#include <memory>

#include <zstd.h>

namespace PackedFace {

namespace {

// The size the single frame unpacks to, or 0 when it is not one frame of a plausible size.
std::size_t unpackedSize(const unsigned char *frame, std::size_t size)
{
    if (!frame || size == 0 || ZSTD_findFrameCompressedSize(frame, size) != size)
        return 0;
    const unsigned long long unpacked = ZSTD_getFrameContentSize(frame, size);
    if (unpacked == ZSTD_CONTENTSIZE_UNKNOWN || unpacked == ZSTD_CONTENTSIZE_ERROR
        || unpacked < SkinFaceFormat::HeaderSize || unpacked > MaxUnpackedBytes)
        return 0;
    return std::size_t(unpacked);
}

// The header lands just before a 64-byte boundary, so the rows of a bitmap start on one.
constexpr std::size_t PixelOffset = 64;
constexpr std::size_t HeaderOffset = PixelOffset - SkinFaceFormat::HeaderSize;

// The whole frame unpacked into memory of its own (released with FaceBuffer::release), its
// stored form starting at HeaderOffset; nullptr when it is damaged.
unsigned char *unpackAll(const unsigned char *frame, std::size_t size, std::size_t &unpacked)
{
    unpacked = unpackedSize(frame, size);
    if (unpacked == 0)
        return nullptr;
    auto *memory = static_cast<unsigned char *>(FaceBuffer::allocate(HeaderOffset + unpacked));
    if (!memory)
        return nullptr;
    const std::size_t written = ZSTD_decompress(memory + HeaderOffset, unpacked, frame, size);
    if (ZSTD_isError(written) || written != unpacked) {
        FaceBuffer::release(memory);
        return nullptr;
    }
    return memory;
}

} // namespace

QSize peek(const unsigned char *frame, std::size_t size, bool *patches)
{
    if (patches)
        *patches = false;
    const std::size_t unpacked = unpackedSize(frame, size);
    if (unpacked == 0)
        return {};
    ZSTD_DStream *stream = ZSTD_createDStream();
    if (!stream)
        return {};
    unsigned char stored[SkinFaceFormat::HeaderSize];
    ZSTD_inBuffer in{frame, size, 0};
    ZSTD_outBuffer out{stored, sizeof stored, 0};
    while (out.pos < out.size && in.pos < in.size) {
        const std::size_t before = in.pos + out.pos;
        const std::size_t result = ZSTD_decompressStream(stream, &out, &in);
        if (ZSTD_isError(result) || result == 0 || in.pos + out.pos == before)
            break;
    }
    ZSTD_freeDStream(stream);
    if (out.pos < out.size)
        return {};
    if (const auto header = SkinFaceFormat::read(stored, unpacked))
        return QSize(int(header->width), int(header->height));
    if (const auto header = SkinFaceFormat::readPatchHeader(stored, unpacked)) {
        if (patches)
            *patches = true;
        return QSize(int(header->width), int(header->height));
    }
    return {};
}

QImage unpack(const unsigned char *frame, std::size_t size)
{
    std::size_t unpacked = 0;
    unsigned char *memory = unpackAll(frame, size, unpacked);
    if (!memory)
        return {};
    const auto header = SkinFaceFormat::read(memory + HeaderOffset, unpacked);
    if (!header) {
        FaceBuffer::release(memory);
        return {};
    }
    QImage image(memory + PixelOffset, int(header->width), int(header->height),
                 qsizetype(header->bytesPerLine), QImage::Format_ARGB32_Premultiplied,
                 FaceBuffer::release, memory);
    if (image.isNull())
        FaceBuffer::release(memory);
    return image;
}

FacePatches unpackPatches(const unsigned char *frame, std::size_t size)
{
    std::size_t unpacked = 0;
    unsigned char *memory = unpackAll(frame, size, unpacked);
    if (!memory)
        return {};
    const std::shared_ptr<const void> owner(memory, FaceBuffer::release);
    return FacePatches::fromStored(memory + HeaderOffset, unpacked, owner);
}

} // namespace PackedFace
