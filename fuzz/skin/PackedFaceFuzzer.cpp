// A packed face from a damaged or hostile skin library: peeked at and unpacked into an image or
// refused, never read or written out of bounds. The image is read whole when there is one, and
// has the size the peek promised.
#include "skin/PackedFace.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QSize peeked = PackedFace::peek(data, size);
    const QImage face = PackedFace::unpack(data, size);
    if (!face.isNull() && face.size() != peeked)
        __builtin_trap();
    if (!face.isNull()) {
        unsigned sum = 0;
        for (int y = 0; y < face.height(); ++y) {
            const uchar *line = face.constScanLine(y);
            for (qsizetype x = 0; x < qsizetype(face.width()) * 4; ++x)
                sum += line[x];
        }
        volatile unsigned kept = sum;
        (void)kept;
    }
    return 0;
}
