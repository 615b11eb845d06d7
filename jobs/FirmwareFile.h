#pragma once

#include <quillodev/FirmwareCheck.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A firmware image file read whole and checked the way the device library checks it before a
// download, so that a damaged image is refused with its reason before anything is sent.
struct FirmwareFile {
    static constexpr std::size_t MaxBytes = 64 * 1024 * 1024; // far beyond any keyboard's flash

    enum class Status {
        Ok,
        CannotOpen, // `openProblem` says why
        TooLarge,
        Refused, // `check` says why
    };

    // Why a file cannot be opened.
    enum class OpenProblem {
        None,
        Missing,
        Folder,
        NotRegular, // a device, a pipe: never read, reading one may never end
        NoAccess,
        Other, // `systemReason` says it
    };

    Status status = Status::CannotOpen;
    quillodev::FirmwareCheck check;
    std::filesystem::path path;
    OpenProblem openProblem = OpenProblem::None;
    std::string systemReason;
    std::vector<char> text; // the file's bytes and a closing zero byte

    static FirmwareFile load(const std::filesystem::path &path);
    // Whether the file can be opened for reading, without reading it: Ok or CannotOpen.
    static FirmwareFile probe(const std::filesystem::path &path);

    bool ok() const { return status == Status::Ok; }
    // The bytes of the file, without the closing zero.
    int length() const { return text.empty() ? 0 : int(text.size() - 1); }
    char *data() { return text.data(); }

    // What to tell the user when the file is not Ok, in the program's language; a file that
    // cannot be opened is named.
    std::string problem(bool chinese) const;
};
