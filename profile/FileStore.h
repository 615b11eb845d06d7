#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// Whole-file reads and writes for documents.
namespace FileStore {

enum class ReadStatus { Ok, CannotOpen, TooLarge, ReadError };

// Reads the whole file, refusing files above `limit` bytes. `error` says why it failed.
ReadStatus readAll(const std::filesystem::path &path, std::uintmax_t limit, std::string &bytes,
                   std::string &error);

// Writes `bytes` to a new file beside `path`, flushes it to the disk and renames it over
// `path`, so that `path` holds either the old or the complete new content, never a part.
// On failure the old file is untouched and no temporary file is left behind.
bool replaceAtomically(const std::filesystem::path &path, std::string_view bytes,
                       std::string &error);

} // namespace FileStore
