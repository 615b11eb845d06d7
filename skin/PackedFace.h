#pragma once

#include "skin/FacePatches.h"

#include <QImage>

#include <cstddef>

// A face as rcc packs it with zstd: one frame holding the stored bitmap (header and rows), or
// the stored patches of a hover or checked face.
// Unpacked in one pass straight into memory the image then owns (FaceBuffer's), 64-byte
// aligned: a face is unpacked whole before its first paint, so the memory it lands in must not
// be faulted in 4 KB at a time either.
namespace PackedFace {

// Larger frames are refused before anything is allocated for them.
constexpr std::size_t MaxUnpackedBytes = std::size_t(256) << 20;

// The face, or a null image when the frame is damaged, cut short, followed by more, does not
// tell its size, is too large, or does not hold a whole stored bitmap.
QImage unpack(const unsigned char *frame, std::size_t size);

// The patches, or a null face when the frame is damaged, cut short, followed by more, too large,
// or does not hold valid stored patches.
FacePatches unpackPatches(const unsigned char *frame, std::size_t size);

// The size of the face a frame holds (bitmap or patches), from the frame's first bytes, without
// unpacking the rest; an invalid size where unpack would refuse the frame on its face. Rows that
// are damaged further on show only when the face is unpacked. `patches` tells whether it holds
// patches rather than a bitmap.
QSize peek(const unsigned char *frame, std::size_t size, bool *patches = nullptr);

} // namespace PackedFace
