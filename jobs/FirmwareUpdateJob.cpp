#include "jobs/FirmwareUpdateJob.h"

#include <quillodev/CNuboHWI.h>

int FirmwareUpdateJob::download(CNuboHWI &device, const KeyCatalogue &catalogue, int deviceType,
                                const std::filesystem::path &image, Backup backup, Outcome &outcome,
                                WindowHandle window)
{
    FirmwareFile file = FirmwareFile::load(image);
    outcome.status = file.status;
    outcome.check = file.check;
    if (file.status == FirmwareFile::Status::CannotOpen)
        return FileNotOpened;
    if (!file.ok())
        return FileRefused;
    // An update may leave the keyboard without its settings: saved first, and no firmware
    // is sent when they cannot be (the user may then choose to go on without).
    if (backup == Backup::First) {
        outcome.backup = FirmwareBackup::make(device, catalogue, deviceType, nullptr);
        if (!outcome.backup.ok())
            return BackupFailed;
    }
    return device.WriteFirmwareToKeyboard(file.data(), file.length(), window) ? Downloaded
                                                                              : DownloadFailed;
}

int FirmwareUpdateJob::writeBack(CNuboHWI &device, int deviceType,
                                 const std::filesystem::path &backup, Outcome &outcome,
                                 WindowHandle window)
{
    outcome.backup = FirmwareBackup::restore(device, deviceType, backup, window);
    return outcome.backup.ok() ? Restored : RestoreFailed;
}

FirmwareUpdateJob::Task
FirmwareUpdateJob::downloadTask(CNuboHWI &device, const KeyCatalogue &catalogue, int deviceType,
                                const std::filesystem::path &image, Backup backup,
                                std::shared_ptr<Outcome> outcome)
{
    return [&device, &catalogue, deviceType, image, backup, outcome](WindowHandle window) {
        const int done = download(device, catalogue, deviceType, image, backup, *outcome, window);
        postTo(window, quillodev::DeviceMessageDone, std::uintptr_t(done), 0);
    };
}

FirmwareUpdateJob::Task FirmwareUpdateJob::writeBackTask(CNuboHWI &device, int deviceType,
                                                         const std::filesystem::path &backup,
                                                         std::shared_ptr<Outcome> outcome)
{
    return [&device, deviceType, backup, outcome](WindowHandle window) {
        const int done = writeBack(device, deviceType, backup, *outcome, window);
        postTo(window, quillodev::DeviceMessageDone, std::uintptr_t(done), 0);
    };
}
