#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// How a skin bitmap lies in the resource library: a 24-byte header of six 32-bit words in the
// machine's byte order (magic, version, width, height, bytes per line, reserved 0) followed by
// the rows of premultiplied 32-bit ARGB pixels, transparent where alpha is 0. The program uses
// the rows where the library file is mapped, with nothing to decode or convert before the
// first paint.
//
// A hover or checked face is stored only where it differs from the backgrounds it goes with,
// as patches: a header of six words (patch magic, version, width, height, patch count, 0),
// then a record of four words (x, y, width, height) per patch, by rising y, then each
// patch's premultiplied rows, tightly packed, in the order of the records.
namespace SkinFaceFormat {

constexpr std::uint32_t Magic = 0x464B5351; // "QSKF" read little-endian
constexpr std::uint32_t Version = 1;
constexpr std::size_t HeaderSize = 24;
constexpr std::uint32_t MaxSide = 16384;
constexpr std::uint32_t PatchMagic = 0x504B5351; // "QSKP" read little-endian
constexpr std::size_t PatchRecordSize = 16;

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0;
};

// The header of a stored bitmap of `size` bytes, or nothing when it is not one: wrong magic
// (also another byte order) or version, an empty or oversized picture, rows shorter than their
// pixels, or rows reaching past the end.
std::optional<Header> read(const unsigned char *data, std::size_t size);

struct PatchHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t count = 0;
};

struct PatchRect {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The header of stored patches of `size` bytes, read from the first HeaderSize bytes only:
// nothing when it is not one, the face is empty or oversized, or its records alone would not
// fit in `size`.
std::optional<PatchHeader> readPatchHeader(const unsigned char *data, std::size_t size);
// The same, with every record checked: inside the face, not empty, by rising y, and the
// pixels of all of them exactly filling the rest of `size`.
std::optional<PatchHeader> readPatches(const unsigned char *data, std::size_t size);
// Record `index` of patches readPatches() accepted.
PatchRect patchRect(const unsigned char *data, std::size_t index);
// Where the first patch's pixels start, from the start of the stored patches.
std::size_t patchPixelsOffset(std::uint32_t count);

// Writes the header of a width x height bitmap with tightly packed rows into `out`
// (HeaderSize bytes); the rows follow it.
void writeHeader(unsigned char *out, std::uint32_t width, std::uint32_t height);

// Writes the header of `count` patches over a width x height face, and record `index`.
void writePatchHeader(unsigned char *out, std::uint32_t width, std::uint32_t height,
                      std::uint32_t count);
void writePatchRect(unsigned char *out, std::size_t index, const PatchRect &rect);

// Makes every pixel of the key colour (0xAARRGGBB, alpha ignored) transparent (all zero).
void keyOut(std::uint32_t *pixels, std::size_t count, std::uint32_t key);

} // namespace SkinFaceFormat
