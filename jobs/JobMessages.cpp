#include "jobs/JobMessages.h"

#include "jobs/TransferJob.h"
#include "layout/MainWindowTable.h"

#include <quillodev/KeyCounts.h>

namespace {

// A step the keyboard would play as something else: a delay taken for a key code, or a key's
// code taken for a delay.
std::string misreadStep(const TransferResult &result, const std::string &key, bool chinese)
{
    const std::string step = std::to_string(result.step);
    const std::string value = std::to_string(result.readAs);
    // Code 0 is no key at all.
    const std::string pressed
        = result.readAs == 0 || result.readAsName.empty() ? std::string() : result.readAsName;
    if (chinese) {
        return std::string(result.layer == 1 ? "Fn层" : "顶层") + "按键 " + key + " 的第 " + step
               + " 步（" + result.stepText + "）"
               + (result.delayAsKey
                      ? "是延时，却处在按键的位置，键盘会把它当作"
                            + (pressed.empty() ? "空键" : "按键 " + pressed)
                      : "是按键，却处在延时的位置，键盘会把它当作 " + value + " 毫秒的延时")
               + "。没有写入任何内容。";
    }
    return "Key " + key + " on the " + (result.layer == 1 ? "Fn" : "top") + " layer: step " + step
           + " (" + result.stepText + ") is "
           + (result.delayAsKey
                  ? "a delay where a key belongs; the keyboard would "
                        + (pressed.empty() ? "press no key" : "press " + pressed) + " instead"
                  : "a key where a delay belongs; the keyboard would wait " + value + " ms instead")
           + ". Nothing was written.";
}

} // namespace

namespace JobMessages {

std::string failure(int job, const TransferResult &result, bool chinese)
{
    if (result.status == TransferResult::Status::AssignmentRefused) {
        const std::string key = result.key >= 1 && result.key <= quillodev::KeyCount
                                    ? MainWindowTable::keyCaption(result.key)
                                    : std::to_string(result.key);
        if (result.step > 0)
            return misreadStep(result, key, chinese);
        if (chinese)
            return std::string(result.layer == 1 ? "Fn层" : "顶层") + "按键 " + key
                   + " 的内容超出键盘的存储容量，没有写入任何内容。";
        return "Key " + key + " on the " + (result.layer == 1 ? "Fn" : "top")
               + " layer holds more than the keyboard can store. Nothing was written.";
    }
    if (TransferJob::writes(job)) {
        std::string text = chinese
                               ? "写入键盘失败，请检查连接线后重试。"
                               : "Writing to the keyboard failed. Check the cable and try again.";
        if (result.status == TransferResult::Status::PartlyWritten)
            text += chinese ? "\r\n\r\n键盘现在只保存了一部分新的按键设置。连接好键盘后，"
                              "请再执行一次“写入按键”。"
                            : "\r\n\r\nThe keyboard now holds part of the new key settings. Once "
                              "it is connected again, run Write key settings again.";
        return text;
    }
    return chinese ? "读取键盘失败，请检查连接线后重试。"
                   : "Reading from the keyboard failed. Check the cable and try again.";
}

std::string finishingEarlierExchange(bool chinese)
{
    return chinese ? "正在完成上一次读写，请稍候…" : "Finishing the earlier exchange…";
}

std::string finishingFirmwareDownload(bool chinese)
{
    return chinese ? "正在完成固件下载，请勿插拔！" : "Finishing the firmware download…";
}

std::string quitWaitsForDownload(bool chinese)
{
    return chinese ? "固件正在下载。下载完成后程序才会退出，在此之前请勿拔下键盘。"
                   : "A firmware download is running. Quillo closes when it has finished; "
                     "keep the keyboard connected until then.";
}

std::string offerSaveAfterUnplug(bool chinese)
{
    return chinese
               ? "键盘已断开，修改的配置尚未写入键盘。\r\n是否在程序退出前将配置保存为配置文件？"
               : "The keyboard was disconnected before your changes were written to it.\r\n"
                 "Save the configuration to a profile before Quillo closes?";
}

std::string versionWaitsForDownload(bool chinese)
{
    return chinese ? "固件正在下载，请在下载完成后再读取版本。"
                   : "The firmware download is still running. Read the version when it has "
                     "finished.";
}

} // namespace JobMessages
