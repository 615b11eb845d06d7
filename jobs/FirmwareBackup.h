#pragma once

#include "jobs/DeviceTransfer.h"

#include <quillodev/MessageTarget.h>

#include <ctime>
#include <filesystem>
#include <string>

class CNuboHWI;
class KeyCatalogue;

// Before a firmware update the keyboard's key definitions and lights are read and kept as a
// profile of their own in the user's data folder; after the update they can be written back.
// Neither touches the program's configuration, and both may run on a worker thread.
class FirmwareBackup {
public:
    struct Result {
        enum class Status {
            Ok,
            ReadFailed,  // the keyboard did not answer: nothing may be sent to it now
            SaveFailed,  // read, but the profile could not be written
            OpenFailed,  // the backup profile could not be read back
            WriteFailed, // the keyboard did not take it
        };
        Status status = Status::Ok;
        std::filesystem::path path;
        TransferResult transfer;

        bool ok() const { return status == Status::Ok; }
    };

    // $XDG_DATA_HOME/quillo/backups, else ~/.local/share/quillo/backups (on Windows under
    // %LOCALAPPDATA%\Quillo). Empty when there is no home folder to be found.
    static std::filesystem::path folder();
    // "Quillo(RGB)-2024-05-01-141502.pro": the model and the local time.
    static std::string fileName(int deviceType, std::time_t when);

    // Reads every key and the lights from the open keyboard and saves them in a new file of
    // folder(). Progress goes to `progress` as the key read posts it, one step per slot.
    static Result make(CNuboHWI &device, const KeyCatalogue &catalogue, int deviceType,
                       WindowHandle progress, std::time_t when = std::time(nullptr));
    // Writes a backup to the open keyboard: its keys, and its lights on the RGB models.
    static Result restore(CNuboHWI &device, int deviceType, const std::filesystem::path &path,
                          WindowHandle progress);

    // What the windows and quillo-cli say about it (UTF-8).
    static std::string savedText(const std::filesystem::path &path, bool chinese);
    static std::string failureText(const Result &result, bool chinese);
    // The window's question when the backup before a download failed.
    static std::string updateAnywayQuestion(const Result &result, bool chinese);
    // A failed download, and where the settings are safe.
    static std::string downloadFailedText(int deviceType, const std::filesystem::path &path,
                                          bool chinese);
    // After a successful update: the offer to write the backup back.
    static std::string writeBackQuestion(const std::filesystem::path &path, bool chinese);
    static std::string restoredText(bool chinese);
    // Why a Yes to that offer wrote nothing yet: no keyboard, or one that does not answer.
    static std::string writeBackNotConnectedText(bool chinese);
    static std::string writeBackVersionFailedText(bool chinese);
    // While it reads or writes, in the version field.
    static std::string readingText(bool chinese);
    static std::string writingText(bool chinese);
};
