#include "jobs/FirmwareBackup.h"

#include "jobs/FirmwareRules.h"
#include "model/Configuration.h"
#include "model/KeyCatalogue.h"
#include "model/KeyboardModel.h"
#include "model/PressCounters.h"
#include "profile/ProfileFile.h"

#include <cstdlib>
#include <memory>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::string shown(const fs::path &path)
{
    return path.string();
}

// A configuration of the variant with its defaults, beside the program's own.
std::unique_ptr<Configuration> blankConfiguration(int deviceType)
{
    auto configuration = std::make_unique<Configuration>();
    configuration->reset(deviceType);
    return configuration;
}

} // namespace

fs::path FirmwareBackup::folder()
{
#ifdef _WIN32
    const char *local = std::getenv("LOCALAPPDATA");
    if (!local || !*local)
        return {};
    return fs::path(local) / "Quillo" / "backups";
#else
    // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return fs::path(data) / "quillo" / "backups";
    const char *home = std::getenv("HOME");
    if (!home || !*home)
        return {};
    return fs::path(home) / ".local" / "share" / "quillo" / "backups";
#endif
}

std::string FirmwareBackup::fileName(int deviceType, std::time_t when)
{
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    return std::string(KeyboardModel::name(deviceType)) + "-" + stamp + ".pro";
}

FirmwareBackup::Result FirmwareBackup::make(CNuboHWI &device, const KeyCatalogue &catalogue,
                                            int deviceType, WindowHandle progress, std::time_t when)
{
    Result result;
    std::unique_ptr<Configuration> backup = blankConfiguration(deviceType);
    DeviceTransfer::ReadKeys keys;
    result.transfer
        = DeviceTransfer::fetchKeyAssignments(device, catalogue, backup->code, keys, progress);
    LightArea::Values lights{};
    if (result.transfer)
        result.transfer = DeviceTransfer::fetchLights(device, lights);
    if (!result.transfer) {
        result.status = Result::Status::ReadFailed;
        return result;
    }
    DeviceTransfer::applyKeyAssignments(*backup, std::move(keys));
    LightArea::toSettings(lights, backup->lightSettings);

    const fs::path where = folder();
    std::error_code error;
    if (!where.empty())
        fs::create_directories(where, error);
    if (where.empty() || error) {
        result.status = Result::Status::SaveFailed;
        result.path = where;
        return result;
    }
    // Never over an earlier backup, even one made in the same second.
    const std::string name = fileName(deviceType, when);
    result.path = where / name;
    for (int n = 2; fs::exists(result.path, error) && n < 1000; ++n)
        result.path = where / (name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".pro");
    if (!writeProfile(*backup, deviceType, result.path))
        result.status = Result::Status::SaveFailed;
    return result;
}

FirmwareBackup::Result FirmwareBackup::restore(CNuboHWI &device, int deviceType,
                                               const fs::path &path, WindowHandle progress)
{
    Result result;
    result.path = path;
    std::unique_ptr<Configuration> backup = blankConfiguration(deviceType);
    PressCounters counters;
    if (readProfile(*backup, counters, deviceType, path) != ProfileReadResult::Ok) {
        result.status = Result::Status::OpenFailed;
        return result;
    }
    DeviceTransfer::EncodedKeys encoded;
    const KeyCatalogue catalogue;
    result.transfer = DeviceTransfer::encodeKeyAssignments(catalogue, *backup, encoded);
    if (result.transfer)
        result.transfer = DeviceTransfer::sendKeyAssignments(device, encoded, progress);
    if (result.transfer && KeyboardModel::hasKeyColours(deviceType))
        result.transfer
            = DeviceTransfer::sendLights(device, LightArea::fromSettings(backup->lightSettings));
    if (!result.transfer)
        result.status = Result::Status::WriteFailed;
    return result;
}

std::string FirmwareBackup::savedText(const fs::path &path, bool chinese)
{
    return chinese ? "键盘的按键设置和背光已备份到 " + shown(path)
                   : "The keyboard's key settings and lights were saved to " + shown(path);
}

std::string FirmwareBackup::failureText(const Result &result, bool chinese)
{
    switch (result.status) {
    case Result::Status::ReadFailed:
        return chinese ? "无法读取键盘的按键设置来备份，固件没有更新，也没有向键盘发送任何内容。"
                         "请检查连接线后重试。"
                       : "The keyboard's key settings could not be read for a backup, so the "
                         "firmware was not updated and nothing was sent to the keyboard. Check "
                         "the cable and try again.";
    case Result::Status::SaveFailed:
        return chinese ? "备份无法保存到 " + shown(result.path)
                             + "，固件没有更新，也没有向键盘发送任何内容。"
                       : "The backup could not be saved in " + shown(result.path)
                             + ", so the firmware was not updated and nothing was sent to the "
                               "keyboard.";
    case Result::Status::OpenFailed:
        return chinese ? "无法读取备份 " + shown(result.path) + "。"
                       : "The backup " + shown(result.path) + " could not be read.";
    case Result::Status::WriteFailed:
        return chinese ? "备份没能写回键盘。备份仍在 " + shown(result.path)
                             + "：可以用“打开配置”打开它，再“写入按键”。"
                       : "The backup could not be written back to the keyboard. It stays in "
                             + shown(result.path)
                             + ": open it with Open and write it with Write key settings.";
    case Result::Status::Ok:
        break;
    }
    return {};
}

std::string FirmwareBackup::updateAnywayQuestion(const Result &result, bool chinese)
{
    std::string reason;
    if (result.status == Result::Status::SaveFailed && result.path.empty())
        reason = chinese ? "找不到存放备份的数据文件夹" : "there is no data folder to keep them in";
    else if (result.status == Result::Status::SaveFailed)
        reason = chinese ? "无法保存到 " + shown(result.path)
                         : "they could not be saved in " + shown(result.path);
    else
        reason = chinese ? "读取时键盘没有应答" : "the keyboard did not answer when they were read";
    return chinese ? "无法备份设置（" + reason + "）。仍要更新固件吗？"
                   : "The settings could not be backed up (" + reason
                         + "). Update the firmware anyway?";
}

std::string FirmwareBackup::downloadFailedText(int deviceType, const fs::path &path, bool chinese)
{
    std::string text
        = FirmwareRules::message(FirmwareRules::Message::DownloadFailed, deviceType, chinese);
    if (!path.empty())
        text += "\r\n\r\n" + savedText(path, chinese);
    return text;
}

std::string FirmwareBackup::writeBackQuestion(const fs::path &path, bool chinese)
{
    return chinese
               ? "更新前，键盘的按键设置和背光已备份到\n" + shown(path)
                     + "\n\n要把它们写回键盘吗？请等到三个状态指示灯同时闪烁，拔下键盘再重新插上，"
                       "然后选择“是”。"
               : "Before the update, the keyboard's key settings and lights were saved to\n"
                     + shown(path)
                     + "\n\nWrite them back to the keyboard? Wait until its three indicator "
                       "lights flash together, unplug it and plug it in again, then choose "
                       "Yes.";
}

std::string FirmwareBackup::restoredText(bool chinese)
{
    return chinese ? "备份的按键设置和背光已写回键盘。"
                   : "The saved key settings and lights are back on the keyboard.";
}

namespace {

std::string writeBackLater(bool chinese)
{
    return chinese ? "也可以选择“否”，以后用“打开配置”打开备份，再用“写入按键”写入键盘。"
                   : "Or choose No and write the backup later: open it with Open and write it "
                     "with Write key settings.";
}

} // namespace

std::string FirmwareBackup::writeBackNotConnectedText(bool chinese)
{
    return chinese ? "键盘未连接\r\n\r\n请插上键盘，再选择“是”。" + writeBackLater(true)
                   : "Keyboard is not connected\r\n\r\nPlug it in and choose Yes again. "
                         + writeBackLater(false);
}

std::string FirmwareBackup::writeBackVersionFailedText(bool chinese)
{
    const std::string headline
        = FirmwareRules::message(FirmwareRules::Message::VersionNotRead, 0, chinese);
    return chinese ? headline
                         + "\r\n\r\n键盘已连接，但读取版本时没有应答，所以设置还没有写回。"
                           "键盘可能仍在启动新固件，或者正被其他程序使用：请稍等片刻，再选择“是”。"
                         + writeBackLater(true)
                   : headline
                         + "\r\n\r\nThe keyboard is connected but did not answer when its "
                           "version was read, so the settings were not written back yet. It may "
                           "still be starting its new firmware, or another program may be using "
                           "it: wait a moment and choose Yes again. "
                         + writeBackLater(false);
}

std::string FirmwareBackup::readingText(bool chinese)
{
    return chinese ? "正在备份按键设置…" : "Saving the key settings…";
}

std::string FirmwareBackup::writingText(bool chinese)
{
    return chinese ? "正在写回按键设置…" : "Writing the key settings back…";
}
