#pragma once

#include "jobs/FirmwareBackup.h"
#include "jobs/FirmwareFile.h"

#include <quillodev/MessageTarget.h>

#include <filesystem>
#include <functional>
#include <memory>

class CNuboHWI;
class KeyCatalogue;

// The worker's side of the firmware window: the download, with the keyboard's settings saved
// before it, and their write-back after it. Each returns the code the window's
// DeviceMessageDone carries.
class FirmwareUpdateJob {
public:
    enum Done : int {
        Downloaded = 1,
        DownloadFailed = 2,
        FileNotOpened = 3,
        FileRefused = 4,  // damaged or oversized: nothing was sent
        BackupFailed = 5, // the keyboard's settings could not be saved: no firmware was sent
        Restored = 6,     // the backup is back on the keyboard
        RestoreFailed = 7,
    };

    // What the window says afterwards; filled before the worker posts done.
    struct Outcome {
        FirmwareFile::Status status = FirmwareFile::Status::CannotOpen;
        quillodev::FirmwareCheck check;
        FirmwareBackup::Result backup;
    };

    enum class Backup { First, Skip };

    // The image checked whole, the keyboard's keys and lights saved (unless skipped), then
    // the image sent with its progress to `window`. Only the backup's reads reach the
    // keyboard when the image is refused or the backup fails. A skipped backup leaves
    // `outcome.backup` Ok with no path.
    static int download(CNuboHWI &device, const KeyCatalogue &catalogue, int deviceType,
                        const std::filesystem::path &image, Backup backup, Outcome &outcome,
                        WindowHandle window);
    // The backup written to the keyboard, its progress to `window`.
    static int writeBack(CNuboHWI &device, int deviceType, const std::filesystem::path &backup,
                         Outcome &outcome, WindowHandle window);

    // The same as a worker's task that posts DeviceMessageDone with the code to its window. The
    // facade and the catalogue must outlive the worker; the rest goes along as values.
    using Task = std::function<void(WindowHandle)>;
    static Task downloadTask(CNuboHWI &device, const KeyCatalogue &catalogue, int deviceType,
                             const std::filesystem::path &image, Backup backup,
                             std::shared_ptr<Outcome> outcome);
    static Task writeBackTask(CNuboHWI &device, int deviceType, const std::filesystem::path &backup,
                              std::shared_ptr<Outcome> outcome);
};
