#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// How a skin bitmap lies in the resource library: a 24-byte header of six 32-bit words in the
// machine's byte order (magic, version, width, height, bytes per line, reserved 0) followed by
// the rows of premultiplied 32-bit ARGB pixels, transparent where alpha is 0. The program uses
// the rows where the library file is mapped, with nothing to decode or convert before the
// first paint.
namespace SkinFaceFormat {

constexpr std::uint32_t Magic = 0x464B5351; // "QSKF" read little-endian
constexpr std::uint32_t Version = 1;
constexpr std::size_t HeaderSize = 24;
constexpr std::uint32_t MaxSide = 16384;

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0;
};

// The header of a stored bitmap of `size` bytes, or nothing when it is not one: wrong magic
// (also another byte order) or version, an empty or oversized picture, rows shorter than their
// pixels, or rows reaching past the end.
std::optional<Header> read(const unsigned char *data, std::size_t size);

// Writes the header of a width x height bitmap with tightly packed rows into `out`
// (HeaderSize bytes); the rows follow it.
void writeHeader(unsigned char *out, std::uint32_t width, std::uint32_t height);

// Makes every pixel of the key colour (0xAARRGGBB, alpha ignored) transparent (all zero).
void keyOut(std::uint32_t *pixels, std::size_t count, std::uint32_t key);

} // namespace SkinFaceFormat
