#pragma once

#include "jobs/FirmwareFile.h"

#include <quillodev/FirmwareCheck.h>

#include <string>

// Which firmware files a keyboard accepts, and the texts that say so. A file is meant for a
// variant when its title (the name without folder and extension) begins with that variant's
// prefix, compared exactly from the first character.
namespace FirmwareRules {

// "Quillo(RGB)BLe_" for 1 (and anything unknown), "Quillo(S)BLe_", "Quillo(S)_", "Quillo(RGB)_".
std::string prefix(int deviceType);
bool titleMatches(int deviceType, const std::string &title);
// The title of a path: file name without folder and extension.
std::string titleOf(const std::string &path);

enum class Message {
    VersionNotRead,
    WrongPrefix,
    UpdateWithoutMatch,
    Downloaded,
    DownloadFailed,
    CannotOpen,
};
// The message in the program's language; WrongPrefix names the variant's model.
std::string message(Message which, int deviceType, bool chinese);

// "Can't open firmware file PATH: there is no such file." and its Chinese form.
std::string cannotOpen(const std::string &path, FirmwareFile::OpenProblem problem,
                       const std::string &systemReason, bool chinese);

// Why the device library refuses an image, with the line at fault, and that nothing was sent.
std::string refusal(const quillodev::FirmwareCheck &check, bool chinese);

} // namespace FirmwareRules
