#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Whole-file reads and writes for documents.
namespace FileStore {

enum class ReadStatus { Ok, CannotOpen, TooLarge, ReadError };

// Reads the whole file, refusing files above `limit` bytes. `error` says why it failed.
ReadStatus readAll(const std::filesystem::path &path, std::uintmax_t limit, std::string &bytes,
                   std::string &error);

// What a path names, links not followed.
enum class FileKind { Missing, Regular, Folder, CharacterDevice, BlockDevice, Fifo, Socket, Other };
FileKind kindOf(const std::filesystem::path &path);

// Why a replacement failed.
struct WriteFailure {
    std::filesystem::path target;    // the file to be replaced: `path` with its links followed
    std::optional<FileKind> refused; // set when the target is not a regular file
    std::string reason;              // in English, the system's words
};

// The file a save to `path` replaces: a link is followed to what it points to, so that the
// link itself stays. False (with `failure` filled) when that is not a regular file or a new
// name; only regular files are ever replaced.
bool replaceableTarget(const std::filesystem::path &path, std::filesystem::path &target,
                       WriteFailure &failure);

// Writes `bytes` to a new file beside the target, flushes it to the disk and renames it over
// the target, so that it holds either the old or the complete new content, never a part.
// On failure the old file is untouched and no temporary file is left behind.
bool replaceAtomically(const std::filesystem::path &path, std::string_view bytes,
                       WriteFailure &failure);

} // namespace FileStore
