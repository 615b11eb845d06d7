#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>

// A blank premultiplied image to compose a face in. A face is megabytes that the first paint
// would otherwise fault in 4 KB at a time; where the system offers huge pages the memory is
// asked for in those, elsewhere it is an ordinary image.
namespace FaceBuffer {

QImage create(const QSize &size);

// `bytes` of such memory, released with std::free; nullptr when there is none to be had.
void *allocate(std::size_t bytes);

} // namespace FaceBuffer
