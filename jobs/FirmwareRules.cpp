#include "jobs/FirmwareRules.h"

#include "app/KeyboardModel.h"

#include <filesystem>

namespace FirmwareRules {

std::string prefix(int deviceType)
{
    return std::string(KeyboardModel::name(deviceType)) + "_";
}

bool titleMatches(int deviceType, const std::string &title)
{
    return title.starts_with(prefix(deviceType));
}

std::string titleOf(const std::string &path)
{
    return std::filesystem::path(path).stem().string();
}

std::string message(Message which, int deviceType, bool chinese)
{
    switch (which) {
    case Message::VersionNotRead:
        return chinese ? "读取键盘版本失败" : "Failed on reading keyboard version infomation";
    case Message::WrongPrefix:
        return std::string(chinese ? "固件不匹配，请选择"
                                   : "The firmware does not match,please select ")
               + KeyboardModel::name(deviceType);
    case Message::UpdateWithoutMatch:
        return "The firmware does not match";
    case Message::Downloaded:
        return chinese ? "固件下载完成。\r\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，"
                         "请拔下USB重新上电。"
                       : "The Firmware is downloaded successfully.\r\nPlease keep the USB plug in "
                         "until three indicator lights flash simultaneously.\r\nThen firmware "
                         "updated completely,pleased unplug the USB and plug in.";
    case Message::DownloadFailed:
        return chinese ? "固件下载失败!" : "Firmware download failed.";
    case Message::CannotOpen:
        return chinese ? "打开固件文件失败" : "Can't open firmware file";
    }
    return {};
}

} // namespace FirmwareRules
