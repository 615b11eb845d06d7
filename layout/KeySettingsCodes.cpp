#include "layout/KeySettingsCodes.h"

namespace KeySettingsCodes {
namespace {

constexpr CodeButton media[] = {
    {401, 115, "播放器", "Media Select"},
    {402, 111, "播放/暂停", "Play/Pause"},
    {403, 110, "停止", "Stop"},
    {404, 108, "下一首", "Next Track"},
    {405, 109, "上一首", "Previous Track"},
    {406, 114, "音量减小", "Volume Down"},
    {407, 113, "音量加大", "Volume Up"},
    {408, 112, "静音", "Mute"},
    {409, 121, "后退", "WWW Back"},
    {410, 122, "前进", "WWW Forward"},
    {411, 123, "停止", "WWW Stop"},
    {412, 124, "刷新", "WWW Refresh"},
    {413, 125, "收藏夹", "WWW Favorites"},
    {414, 119, "搜索", "WWW Search"},
    {415, 116, "邮件", "E-mail"},
    {416, 120, "主页", "WWW Home"},
    {417, 118, "资源管理器", "My Computer"},
    {418, 117, "计算器", "Calculator"},
};

constexpr CodeButton mouse[] = {
    {502, 126, "左移", "Move Left"},      {503, 127, "右移", "Move Right"},
    {504, 128, "上移", "Move Up"},        {505, 129, "下移", "Move Down"},
    {506, 130, "左键", "Left Click"},     {507, 131, "右键", "Right Click"},
    {508, 132, "中键", "Middle Click"},   {509, 133, "滚轮前翻", "Wheel Up"},
    {510, 134, "滚轮后翻", "Wheel Down"}, {511, 199, "左键双击", "Left Double Click"},
    {512, 158, "单元时间", "Uint Time"},  {513, 157, "单元像素", "Uint Pixel"},
    {514, 173, "首延迟", "First Delay"},
};

constexpr CodeButton functions[] = {
    {601, 170, "蓝牙设备3", "Bluetooth device3", Wireless},
    {602, 169, "蓝牙设备2", "Bluetooth device2", Wireless},
    {603, 168, "蓝牙设备1", "Bluetooth device1", Wireless},
    {604, 167, "有线/无线切换", "Wire/Wireless Exchange", Wireless},
    {605, 151, "按键触发行程切换", "Adjust Trigger Point"},
    {606, 171, "游戏模式", "Game mode", Wireless},
    {607, 172, "节能模式", "ECO mode", Wireless},
    {608, 155, "Win/Mac系统切换", "Win/Mac System Exchange"},
    {609, 180, "蓝牙设备4", "Bluetooth device4", Wireless},
    {610, 153, "锁Win", "Win Lock"},
    {611, 154, "锁Fn", "Fn Lock"},
    {612, 150, "锁键盘", "Keyboard Lock", Wireless},
    {613, 174, "按键击打速率", "Key Repeat Rate"},
    {614, 175, "按键响应延迟", "Key Response Delay"},
    {615, 156, "FN键,按键的2个层须同时设置", "FN key,Key's 2 layer must be set to FN"},
    {616, 159, "可编程键盘", "Programmable Keyboard"},
    {617, 152, "Caps/Ctrl切换", "Caps/Ctrl Exchange"},
    {618, 181, "蓝牙设备5", "Bluetooth device5", Wireless},
    {620, 148, "背景颜色切换", "Back Color Exchange", KeyColours},
    {621, 138, "灯效颜色切换", "Effect Color Exchange", KeyColours},
    {622, 137, "灯效切换", "Lamp Effect Exchange", KeyColours},
    {623, 144, "背光亮度-", "Backlight Lighteness-"},
    {624, 145, "背光亮度+", "Backlight Lighteness+"},
    {630, 135, "背光开关", "Backlight switch", KeyColours},
    {631, 139, "灯效退出", "LampEffect Exit", KeyColours},
    {632, 136, "背光自定义", "Backlight Macro", KeyColours},
    {633, 143, "频率+", "Frequence+", KeyColours},
    {634, 142, "频率-", "Frequence-", KeyColours},
    {635, 146, "灯效方向左", "Direction Left", KeyColours},
    {636, 147, "灯效方向右", "Direction Right", KeyColours},
};

constexpr CodeButton power[] = {
    {701, 75, "唤醒", "WakeUp", AllVariants, "唤醒", "Wake"},
    {702, 76, "睡眠", "Sleep", AllVariants, "睡眠", "Sleep"},
    {703, 77, "电源", "Power", AllVariants, "电源", "Power"},
};

} // namespace

std::span<const CodeButton> buttonsOfPage(int page)
{
    switch (page) {
    case 4:
        return media;
    case 5:
        return mouse;
    case 6:
        return functions;
    case 7:
        return power;
    default:
        return {};
    }
}

const CodeButton *buttonOfId(int id)
{
    for (const CodeButton &button : buttonsOfPage(id / 100)) {
        if (button.id == id)
            return &button;
    }
    return nullptr;
}

bool offers(const CodeButton &button, int deviceType)
{
    const int variant = deviceType >= 1 && deviceType <= 4 ? deviceType : 1;
    return (button.variants >> (variant - 1)) & 1;
}

} // namespace KeySettingsCodes
