#include "app/OfflineTexts.h"

#include "model/KeyboardModel.h"

namespace OfflineTexts {

std::string searchingChinese()
{
    return "正在查找 Quillo 键盘……请现在插上键盘";
}

std::string searchingEnglish()
{
    return "Looking for a Quillo keyboard… plug it in now";
}

std::string searchingTitle()
{
    return "Quillo";
}

std::string cancelCaption()
{
    return "取消 Cancel";
}

std::string offlineOffer()
{
    return "没有找到键盘。可以离线工作：选择键盘型号，准备、打开和保存它的配置文件；"
           "以后插上这个型号的键盘即可写入。\n\n"
           "No keyboard was found. Work offline: choose the keyboard model to prepare, open and "
           "save its profiles, and write them once a keyboard of that model is plugged in.";
}

std::string exitCaption()
{
    return "退出 Exit";
}

std::string notConnected(bool exclaimed, bool chinese)
{
    if (chinese)
        return exclaimed ? "键盘未连接！" : "键盘未连接";
    return exclaimed ? "Keyboard is not connected!" : "Keyboard is not connected";
}

std::string offerHeadline()
{
    return notConnected(true, true) + "\n" + notConnected(true, false);
}

std::string refusal(int deviceType, bool chinese)
{
    const std::string model = KeyboardModel::name(deviceType);
    return chinese ? "Quillo 正在离线工作。请插上 " + model + " 后再试。"
                   : "Quillo is working offline. Plug in the " + model + " and try again.";
}

std::string connected(int deviceType, bool chinese)
{
    const std::string model = KeyboardModel::name(deviceType);
    return chinese ? model + " 已连接：可以写入、读取和升级键盘了。"
                   : "The " + model + " is connected: writing, reading and updating it work now.";
}

std::string otherModel(int pluggedIn, int deviceType, bool chinese)
{
    const std::string plugged = KeyboardModel::name(pluggedIn);
    const std::string model = KeyboardModel::name(deviceType);
    return chinese ? "插上的是 " + plugged + "，但 Quillo 正在为 " + model + " 离线工作。要设置 "
                         + plugged + "，请重新启动 Quillo。"
                   : "A " + plugged + " was plugged in, but Quillo works offline for the " + model
                         + ". Start Quillo again to set up the " + plugged + ".";
}

std::string backOffline(bool chinese)
{
    return chinese ? "Quillo 继续离线工作。" : "Quillo goes on working offline.";
}

std::string badge(bool chinese)
{
    return chinese ? "离线" : "OFFLINE";
}

} // namespace OfflineTexts
