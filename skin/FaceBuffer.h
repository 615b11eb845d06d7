#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>

// A blank premultiplied image to compose a face in. A face is megabytes that the first paint
// would otherwise fault in 4 KB at a time; large buffers are mappings of their own, faulted in
// whole when they are made, and a face let go of goes back to the system at once instead of
// staying in the heap for the rest of the run.
namespace FaceBuffer {

QImage create(const QSize &size);

// `bytes` of such memory, 64-byte aligned, released with release(); nullptr when there is none
// to be had.
void *allocate(std::size_t bytes);
void release(void *memory);

} // namespace FaceBuffer
