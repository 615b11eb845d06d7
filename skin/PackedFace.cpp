#include "skin/PackedFace.h"

#include "skin/FaceBuffer.h"
#include "skin/SkinFaceFormat.h"

#include <cstdlib>

#include <zstd.h>

namespace PackedFace {

QImage unpack(const unsigned char *frame, std::size_t size)
{
    if (!frame || size == 0 || ZSTD_findFrameCompressedSize(frame, size) != size)
        return {};
    const unsigned long long unpacked = ZSTD_getFrameContentSize(frame, size);
    if (unpacked == ZSTD_CONTENTSIZE_UNKNOWN || unpacked == ZSTD_CONTENTSIZE_ERROR
        || unpacked < SkinFaceFormat::HeaderSize || unpacked > MaxUnpackedBytes)
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
