#include "skin/PackedFace.h"

#include "skin/FaceBuffer.h"
#include "skin/SkinFaceFormat.h"

#include <cstdlib>

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

} // namespace

QSize peek(const unsigned char *frame, std::size_t size)
{
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
    const auto header = SkinFaceFormat::read(stored, unpacked);
    return header ? QSize(int(header->width), int(header->height)) : QSize();
}

QImage unpack(const unsigned char *frame, std::size_t size)
{
    const std::size_t unpacked = unpackedSize(frame, size);
    if (unpacked == 0)
        return {};

    // The header lands just before a 64-byte boundary, so the rows start on one.
    constexpr std::size_t PixelOffset = 64;
    constexpr std::size_t HeaderOffset = PixelOffset - SkinFaceFormat::HeaderSize;
    auto *memory = static_cast<unsigned char *>(FaceBuffer::allocate(HeaderOffset + unpacked));
    if (!memory)
        return {};
    unsigned char *stored = memory + HeaderOffset;
    const std::size_t written = ZSTD_decompress(stored, unpacked, frame, size);
    const auto header = ZSTD_isError(written) || written != unpacked
                            ? std::nullopt
                            : SkinFaceFormat::read(stored, std::size_t(unpacked));
    if (!header) {
        std::free(memory);
        return {};
    }
    QImage image(memory + PixelOffset, int(header->width), int(header->height),
                 qsizetype(header->bytesPerLine), QImage::Format_ARGB32_Premultiplied, std::free,
                 memory);
    if (image.isNull())
        std::free(memory);
    return image;
}

} // namespace PackedFace
