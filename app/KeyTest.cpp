#include "app/KeyTest.h"

#include "model/DefaultCodes.h"
#include "model/KeyCatalogue.h"

#include <array>
#include <cstdint>

namespace {

constexpr int KeyMask = 0x1FF;
constexpr int VirtualKeyMask = 0xFF;
constexpr int FirstMouseCode = 126; // codes below are keys and media functions
constexpr int FirstMediaCode = 108;
constexpr int RightWindowsCode = 72;
constexpr int FnKey = 72;

// The media keys' virtual keys, which the catalogue gives no code, as the codes the keyboard
// sends for them.
struct MediaKey {
    int virtualKey;
    int code;
};
constexpr MediaKey MediaKeys[] = {
    {0xAD, 112}, // Volume Mute: Mute
    {0xAE, 114}, // Volume Down
    {0xAF, 113}, // Volume Up
    {0xB0, 108}, // Next Track
    {0xB1, 109}, // Previous Track
    {0xB2, 110}, // Stop Media
    {0xB3, 111}, // Play/Pause Media
};

// The key that sends a code out of the factory: its top layer first, then the media functions
// of its Fn layer (the four keys above the keypad play, skip and stop there).
constexpr std::array<std::uint8_t, FirstMouseCode> KeyOfSentCode = [] {
    std::array<std::uint8_t, FirstMouseCode> table{};
    for (int key = 1; key <= KeyTest::KeyCount; ++key) {
        const int code = DefaultCodes::topLayerCode(key);
        if (code > 0 && code < FirstMouseCode && table[std::size_t(code)] == 0)
            table[std::size_t(code)] = std::uint8_t(key);
    }
    for (const DefaultCodes::FnDefault &fn : DefaultCodes::fnLayer) {
        if (fn.code >= FirstMediaCode && fn.code < FirstMouseCode && table[fn.code] == 0)
            table[fn.code] = fn.key;
    }
    // The Fn key sends nothing; the right Windows key of other keyboards sits in its place.
    table[RightWindowsCode] = FnKey;
    return table;
}();

static_assert(KeyOfSentCode[107] == 108, "keypad Enter");
static_assert(KeyOfSentCode[111] == 88 && KeyOfSentCode[112] == 88, "Play/Pause and Mute");

} // namespace

int KeyTest::keyOfHookKey(const KeyCatalogue &catalogue, int hookKey)
{
    if (hookKey < 0)
        return 0;
    int code = catalogue.codeOfKey(hookKey & KeyMask);
    if (code == 0) {
        for (const MediaKey &media : MediaKeys) {
            if (media.virtualKey == (hookKey & KeyMask))
                code = media.code;
        }
    }
    return code > 0 && code < FirstMouseCode ? KeyOfSentCode[std::size_t(code)] : 0;
}

void KeyTest::reset()
{
    *this = KeyTest();
}

int KeyTest::press(const KeyCatalogue &catalogue, int hookKey)
{
    const int key = keyOfHookKey(catalogue, hookKey);
    m_lastHookKey = hookKey & KeyMask;
    m_lastKey = key;
    m_lastUnknown = false;
    if (key == 0 || m_pressed[std::size_t(key)])
        return 0;
    m_pressed[std::size_t(key)] = true;
    return key;
}

int KeyTest::release(const KeyCatalogue &catalogue, int hookKey)
{
    const int key = keyOfHookKey(catalogue, hookKey);
    if (key == 0 || !m_pressed[std::size_t(key)])
        return 0;
    m_pressed[std::size_t(key)] = false;
    m_tested[std::size_t(key)] = true;
    return key;
}

void KeyTest::unknownKey()
{
    m_lastHookKey = -1;
    m_lastKey = 0;
    m_lastUnknown = true;
}

bool KeyTest::releaseAll()
{
    if (m_pressed.none())
        return false;
    m_tested |= m_pressed;
    m_pressed.reset();
    return true;
}

std::string KeyTest::report(const KeyCatalogue &catalogue, bool chinese) const
{
    std::string text = chinese ? "按键测试：逐个按下键盘上的按键，松开后按键显示为已测试。"
                                 "按 Esc 或再次点击“按键测试”结束测试（Esc 不计入测试）。"
                               : "Key test: press the keys of the keyboard one by one; a key "
                                 "released shows as tested. Esc or the Key test button ends the "
                                 "test (Esc itself is not counted).";
    text += "\r\n\r\n";
    if (m_lastUnknown) {
        text += chinese ? "最后按键：无法识别的按键" : "Last key: a key this program does not know";
    } else if (m_lastHookKey < 0) {
        text += chinese ? "最后按键：无" : "Last key: none yet";
    } else {
        const std::string *found = catalogue.nameOfKey(m_lastHookKey);
        const std::string name = found ? *found : std::string(KeyCatalogue::NoName);
        text += chinese ? "最后按键：" : "Last key: ";
        text += name;
        if (m_lastKey == 0)
            text += chinese ? "（不是本键盘的按键）" : ", not a key of this keyboard";
        else
            text += (chinese ? "（第 " : " (key ") + std::to_string(m_lastKey)
                    + (chinese ? " 键）" : ")");
    }
    text += "\r\n";
    text += (chinese ? "已测试：" : "Keys seen: ") + std::to_string(testedCount())
            + (chinese ? " / 108 个按键" : " of 108");
    return text;
}
