// A packed face from a damaged or hostile skin library: peeked at and unpacked into an image or
// patches, or refused, never read or written out of bounds. The image and every patch are read
// whole when there are some, and have the size the peek promised.
#include "skin/PackedFace.h"

#include <cstddef>
#include <cstdint>

namespace {

unsigned sumOf(const QImage &image)
{
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (qsizetype x = 0; x < qsizetype(image.width()) * 4; ++x)
            sum += line[x];
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    bool patches = false;
    const QSize peeked = PackedFace::peek(data, size, &patches);
    const QImage face = PackedFace::unpack(data, size);
    if (!face.isNull() && (face.size() != peeked || patches))
        __builtin_trap();
    unsigned sum = sumOf(face);
    const FacePatches parts = PackedFace::unpackPatches(data, size);
    if (!parts.isNull() && (parts.size() != peeked || !patches))
        __builtin_trap();
    for (const FacePatches::Patch &patch : parts.patches()) {
        if (!QRect(QPoint(0, 0), parts.size()).contains(patch.rect)
            || patch.pixels.size() != patch.rect.size())
            __builtin_trap();
        sum += sumOf(patch.pixels);
    }
    volatile unsigned kept = sum;
    (void)kept;
    return 0;
}
