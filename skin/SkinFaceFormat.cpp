#include "skin/SkinFaceFormat.h"

#include <cstring>

namespace SkinFaceFormat {

namespace {

std::uint32_t word(const unsigned char *data, std::size_t index)
{
    std::uint32_t value;
    std::memcpy(&value, data + index * 4, 4);
    return value;
}

void putWord(unsigned char *out, std::size_t index, std::uint32_t value)
{
    std::memcpy(out + index * 4, &value, 4);
}

} // namespace

std::optional<Header> read(const unsigned char *data, std::size_t size)
{
    if (!data || size < HeaderSize || word(data, 0) != Magic || word(data, 1) != Version)
        return std::nullopt;
    Header header{word(data, 2), word(data, 3), word(data, 4)};
    if (header.width == 0 || header.height == 0 || header.width > MaxSide
        || header.height > MaxSide)
        return std::nullopt;
    const std::uint64_t rowPixels = std::uint64_t(header.width) * 4;
    if (header.bytesPerLine < rowPixels || header.bytesPerLine % 4 != 0)
        return std::nullopt;
    // The last row needs only its pixels, not its padding.
    const std::uint64_t need
        = HeaderSize + std::uint64_t(header.bytesPerLine) * (header.height - 1) + rowPixels;
    if (need > size)
        return std::nullopt;
    return header;
}

std::optional<PatchHeader> readPatchHeader(const unsigned char *data, std::size_t size)
{
    if (!data || size < HeaderSize || word(data, 0) != PatchMagic || word(data, 1) != Version)
        return std::nullopt;
    PatchHeader header{word(data, 2), word(data, 3), word(data, 4)};
    if (header.width == 0 || header.height == 0 || header.width > MaxSide
        || header.height > MaxSide)
        return std::nullopt;
    if (patchPixelsOffset(header.count) > size)
        return std::nullopt;
    return header;
}

std::optional<PatchHeader> readPatches(const unsigned char *data, std::size_t size)
{
    const auto header = readPatchHeader(data, size);
    if (!header)
        return std::nullopt;
    std::uint64_t pixels = 0;
    std::uint32_t lastTop = 0;
    for (std::size_t i = 0; i < header->count; ++i) {
        const PatchRect r = patchRect(data, i);
        if (r.width == 0 || r.height == 0 || r.y < lastTop
            || std::uint64_t(r.x) + r.width > header->width
            || std::uint64_t(r.y) + r.height > header->height)
            return std::nullopt;
        lastTop = r.y;
        // At most MaxSide squared each, so no sum of them overflows.
        pixels += std::uint64_t(r.width) * r.height * 4;
    }
    if (patchPixelsOffset(header->count) + pixels != size)
        return std::nullopt;
    return header;
}

PatchRect patchRect(const unsigned char *data, std::size_t index)
{
    const std::size_t first = (HeaderSize + index * PatchRecordSize) / 4;
    return {word(data, first), word(data, first + 1), word(data, first + 2), word(data, first + 3)};
}

std::size_t patchPixelsOffset(std::uint32_t count)
{
    return HeaderSize + std::size_t(count) * PatchRecordSize;
}

void writePatchHeader(unsigned char *out, std::uint32_t width, std::uint32_t height,
                      std::uint32_t count)
{
    putWord(out, 0, PatchMagic);
    putWord(out, 1, Version);
    putWord(out, 2, width);
    putWord(out, 3, height);
    putWord(out, 4, count);
    putWord(out, 5, 0);
}

void writePatchRect(unsigned char *out, std::size_t index, const PatchRect &rect)
{
    const std::size_t first = (HeaderSize + index * PatchRecordSize) / 4;
    putWord(out, first, rect.x);
    putWord(out, first + 1, rect.y);
    putWord(out, first + 2, rect.width);
    putWord(out, first + 3, rect.height);
}

void writeHeader(unsigned char *out, std::uint32_t width, std::uint32_t height)
{
    putWord(out, 0, Magic);
    putWord(out, 1, Version);
    putWord(out, 2, width);
    putWord(out, 3, height);
    putWord(out, 4, width * 4);
    putWord(out, 5, 0);
}

void keyOut(std::uint32_t *pixels, std::size_t count, std::uint32_t key)
{
    key |= 0xFF000000u;
    for (std::size_t i = 0; i < count; ++i) {
        if ((pixels[i] | 0xFF000000u) == key)
            pixels[i] = 0;
    }
}

} // namespace SkinFaceFormat
