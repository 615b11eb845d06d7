#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Whole-file reads and writes for documents.
namespace FileStore {

enum class ReadStatus { Ok, CannotOpen, NotAFile, TooLarge, ReadError };

// Reads the whole file, refusing files above `limit` bytes. `error` says why it failed.
ReadStatus readAll(const std::filesystem::path &path, std::uintmax_t limit, std::string &bytes,
                   std::string &error);
// The same from an open descriptor (standard input), read to its end; it stays open.
ReadStatus readDescriptor(int fd, std::uintmax_t limit, std::string &bytes, std::string &error);

// What a path names, links not followed.
enum class FileKind { Missing, Regular, Folder, CharacterDevice, BlockDevice, Fifo, Socket, Other };
FileKind kindOf(const std::filesystem::path &path);

// Why a replacement failed.
struct WriteFailure {
    std::filesystem::path target;    // the file to be replaced: `path` with its links followed
    std::optional<FileKind> refused; // set when the target is not a regular file
    bool readOnly = false;           // the target may not be written
    std::string reason;              // in English, the system's words, without the path
};

// The file a save to `path` replaces: a link is followed to what it points to, so that the
// link itself stays. False (with `failure` filled) when that is not a regular file or a new
// name, or is read-only; only regular files the user may write are ever replaced.
bool replaceableTarget(const std::filesystem::path &path, std::filesystem::path &target,
                       WriteFailure &failure);
// The same, and a file can be created in its folder now: for checking an output before work
// that would be lost if it could not be saved. Leaves nothing behind.
bool checkReplaceable(const std::filesystem::path &path, WriteFailure &failure);

struct WriteOptions {
    // Write into a file without a name and name it only once it is complete, so that a write
    // that is killed leaves nothing behind; where the file system cannot, a hidden file beside
    // the target serves.
    bool unnamed = true;
    // For tests: called once the content is written and flushed, before the target changes.
    std::function<void()> written;
};

// Writes `bytes` to a new file beside the target, flushes it to the disk and renames it over
// the target, so that it holds either the old or the complete new content, never a part.
// On failure the old file is untouched and no temporary file is left behind.
bool replaceAtomically(const std::filesystem::path &path, std::string_view bytes,
                       WriteFailure &failure, const WriteOptions &options = {});

} // namespace FileStore
