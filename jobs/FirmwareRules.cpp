#include "jobs/FirmwareRules.h"

#include "model/KeyboardModel.h"

#include <filesystem>
#include <iterator>

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

namespace {

// Chinese and English reason by fault, in the order of FirmwareFault; "%d" stands for the line.
struct Reason {
    const char *zh;
    const char *en;
};

constexpr Reason reasons[] = {
    {"未知错误", "unknown fault"}, // None: never shown
    {"文件为空", "the file is empty"},
    {"文件不是以 Intel HEX 记录开头", "it does not begin with an Intel HEX record"},
    {"文件中没有行结束符", "it has no line ends"},
    {"第 %d 行是文件结束记录之前的空行", "line %d is empty, before the end-of-file record"},
    {"第 %d 行超过 999 个字符", "line %d is longer than 999 characters"},
    {"第 %d 行不是以冒号开头", "line %d does not start with a colon"},
    {"第 %d 行的十六进制数字个数为奇数", "line %d has an odd number of hexadecimal digits"},
    {"第 %d 行含有非十六进制字符", "line %d holds a character that is not a hexadecimal digit"},
    {"第 %d 行的字节数与记录长度不符", "the byte count in line %d does not match the record"},
    {"第 %d 行校验和错误", "bad checksum in line %d"},
    {"第 %d 行的记录过长，键盘无法接收", "the record in line %d is too long for the keyboard"},
    {"缺少文件结束记录", "there is no end-of-file record"},
    {"文件结束记录之后（第 %d 行）还有内容",
     "there is more after the end-of-file record (line %d)"},
    {"第 %d 行的记录类型不是 00 到 05，键盘无法接收",
     "the record in line %d is of a type other than 00 to 05, which the keyboard does not take"},
    {"第 %d 行的记录长度与其类型不符", "the record in line %d has the wrong length for its type"},
    {"第 %d 行的文件结束记录之前没有任何数据记录",
     "there is no data before the end-of-file record in line %d"},
};
static_assert(std::size(reasons) == std::size_t(quillodev::FirmwareFault::NoData) + 1);

Reason reasonOf(quillodev::FirmwareFault fault)
{
    const auto index = std::size_t(fault);
    return index < std::size(reasons) ? reasons[index] : reasons[0];
}

std::string withLine(const char *text, int line)
{
    std::string result = text;
    const std::size_t at = result.find("%d");
    if (at != std::string::npos)
        result.replace(at, 2, std::to_string(line));
    return result;
}

} // namespace

std::string cannotOpen(const std::string &path, FirmwareFile::OpenProblem problem,
                       const std::string &systemReason, bool chinese)
{
    using Problem = FirmwareFile::OpenProblem;
    std::string why;
    switch (problem) {
    case Problem::Missing:
        why = chinese ? "文件不存在" : "there is no such file";
        break;
    case Problem::Folder:
        why = chinese ? "这是一个文件夹" : "it is a folder";
        break;
    case Problem::NotRegular:
        why = chinese ? "这不是普通文件" : "it is not a regular file";
        break;
    case Problem::NoAccess:
        why = chinese ? "没有读取权限" : "you may not read it";
        break;
    case Problem::None:
    case Problem::Other:
        why = systemReason;
        break;
    }
    const std::string opening = message(Message::CannotOpen, 0, chinese);
    if (chinese)
        return opening + "：" + path + (why.empty() ? "" : "（" + why + "）") + "。";
    return opening + " " + path + (why.empty() ? "" : ": " + why) + ".";
}

std::string refusal(const quillodev::FirmwareCheck &check, bool chinese)
{
    const Reason reason = reasonOf(check.fault);
    if (chinese)
        return "固件文件已损坏：" + withLine(reason.zh, check.line) + "。没有向键盘发送任何内容。";
    return "The firmware file is damaged: " + withLine(reason.en, check.line)
           + ". Nothing was sent to the keyboard.";
}

} // namespace FirmwareRules
