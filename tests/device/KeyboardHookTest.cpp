#include "FakeTransport.h"

#include "device/linux/EvdevHook.h"
#include "device/src/HookData.h"

#include <quillodev/EvdevKeyStream.h>
#include <quillodev/KeyboardHook.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <linux/input.h>
#include <unistd.h>

namespace {

// Receives posts from the hook's reader thread.
class WaitingTarget : public MessageTarget {
public:
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mutex);
        m_posts.push_back({message, wParam, lParam});
        m_changed.notify_all();
    }
    std::vector<Post> waitFor(size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_posts.size() >= count; });
        return m_posts;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Post> m_posts;
};

struct Translated {
    bool known;
    std::uintptr_t message;
    KeyboardEvent event;
};

Translated translate(unsigned short code, int value, bool altDown = false)
{
    Translated t{};
    t.known = keyboardEventFromEvdev(code, value, altDown, t.message, t.event);
    return t;
}

void writeKey(int fd, unsigned short code, int value)
{
    input_event events[2] = {};
    events[0].type = EV_KEY;
    events[0].code = code;
    events[0].value = value;
    events[1].type = EV_SYN; // not a key: ignored
    ASSERT_EQ(::write(fd, events, sizeof events), ssize_t(sizeof events));
}

} // namespace

TEST(KeyboardHook, ProcedurePostsTheWindowsEncoding)
{
    // A null window installs nothing: grabbing the keyboards with nowhere to send the keys
    // would only lock the user out.
    EXPECT_FALSE(InstallHook(nullptr));
    RecordingTarget window;
    quillodev::hookData().window = &window;

    KeyboardEvent a{0x41, 0x1E, 0, 0, 0};
    KeyboardEvent rightCtrl{0xA3, 0x1D, 0x01, 0, 0};
    EXPECT_EQ(KeyBoardProc(0, 0x100, reinterpret_cast<std::intptr_t>(&a)), 1);
    KeyBoardProc(0, 0x101, reinterpret_cast<std::intptr_t>(&a));
    KeyBoardProc(0, 0x104, reinterpret_cast<std::intptr_t>(&a));
    KeyBoardProc(0, 0x105, reinterpret_cast<std::intptr_t>(&a));
    KeyBoardProc(0, 0x100, reinterpret_cast<std::intptr_t>(&rightCtrl));
    EXPECT_EQ(KeyBoardProc(0, 0x100, 0), 1);
    EXPECT_EQ(window.posts, (std::vector<Post>{{0x466, 0x41, 0},
                                               {0x466, 0x80000041u, 0},
                                               {0x466, 0x40000041u, 0},
                                               {0x466, 0xC0000041u, 0},
                                               {0x466, 0xA3, 0x01000000}}));
    quillodev::hookData().window = nullptr;
}

TEST(KeyboardHook, EvdevTableGivesVirtualKeysAndExtendedFlags)
{
    EXPECT_EQ(translate(KEY_A, 1).event.vkCode, 0x41u);
    EXPECT_EQ(translate(KEY_A, 1).message, 0x100u);
    EXPECT_EQ(translate(KEY_A, 2).message, 0x100u); // autorepeat is another press
    EXPECT_EQ(translate(KEY_A, 0).message, 0x101u);
    EXPECT_EQ(translate(KEY_Z, 1).event.vkCode, 0x5Au);
    EXPECT_EQ(translate(KEY_0, 1).event.vkCode, 0x30u);
    EXPECT_EQ(translate(KEY_F12, 1).event.vkCode, 0x7Bu);
    EXPECT_EQ(translate(KEY_102ND, 1).event.vkCode, 0xE2u);

    const std::pair<unsigned short, unsigned> modifiers[]
        = {{KEY_LEFTSHIFT, 0xA0}, {KEY_RIGHTSHIFT, 0xA1}, {KEY_LEFTCTRL, 0xA2},
           {KEY_RIGHTCTRL, 0xA3}, {KEY_LEFTALT, 0xA4},    {KEY_RIGHTALT, 0xA5}};
    for (const auto &[code, vk] : modifiers)
        EXPECT_EQ(translate(code, 1).event.vkCode, vk);

    const unsigned short extended[]
        = {KEY_RIGHTCTRL, KEY_RIGHTALT, KEY_UP,        KEY_DOWN,    KEY_LEFT,
           KEY_RIGHT,     KEY_INSERT,   KEY_DELETE,    KEY_HOME,    KEY_END,
           KEY_PAGEUP,    KEY_PAGEDOWN, KEY_KPENTER,   KEY_KPSLASH, KEY_NUMLOCK,
           KEY_SYSRQ,     KEY_LEFTMETA, KEY_RIGHTMETA, KEY_COMPOSE};
    for (unsigned short code : extended)
        EXPECT_EQ(translate(code, 1).event.flags & 1u, 1u) << code;
    const unsigned short plain[] = {KEY_ENTER, KEY_LEFTCTRL, KEY_RIGHTSHIFT, KEY_KP8, KEY_A};
    for (unsigned short code : plain)
        EXPECT_EQ(translate(code, 1).event.flags & 1u, 0u) << code;
    EXPECT_EQ(translate(KEY_KPENTER, 1).event.vkCode, 0x0Du);

    // System variants: keys with Alt held, Alt itself, F10.
    EXPECT_EQ(translate(KEY_TAB, 1, true).message, 0x104u);
    EXPECT_EQ(translate(KEY_TAB, 0, true).message, 0x105u);
    EXPECT_EQ(translate(KEY_LEFTALT, 1).message, 0x104u);
    EXPECT_EQ(translate(KEY_LEFTALT, 0).message, 0x101u);
    EXPECT_EQ(translate(KEY_F10, 1).message, 0x104u);
    EXPECT_EQ(translate(KEY_F10, 0).message, 0x105u);

    EXPECT_FALSE(translate(BTN_LEFT, 1).known);
    EXPECT_FALSE(translate(KEY_RESERVED, 1).known);
    EXPECT_FALSE(translate(KEY_A, 3).known);
}

TEST(KeyboardHook, ReaderThreadTurnsEventsIntoMessages)
{
    WaitingTarget window;
    quillodev::hookData().window = &window;

    int first[2];
    int second[2];
    ASSERT_EQ(::pipe(first), 0);
    ASSERT_EQ(::pipe(second), 0);
    quillodev::EvdevHook hook;
    ASSERT_TRUE(hook.startReading({first[0], second[0]}));
    writeKey(first[1], KEY_A, 1);
    window.waitFor(1);
    writeKey(second[1], KEY_LEFTALT, 1);
    window.waitFor(2);
    writeKey(first[1], KEY_TAB, 1);
    window.waitFor(3);
    writeKey(second[1], KEY_LEFTALT, 0);
    window.waitFor(4);
    ::close(second[1]); // an unplugged keyboard does not stop the others
    writeKey(first[1], KEY_RIGHTCTRL, 0);
    const std::vector<Post> posts = window.waitFor(5);
    hook.stop();
    EXPECT_FALSE(hook.running());
    ::close(first[1]);
    quillodev::hookData().window = nullptr;

    EXPECT_EQ(posts, (std::vector<Post>{{0x466, 0x41, 0},
                                        {0x466, 0x400000A4u, 0},
                                        {0x466, 0x40000009u, 0},
                                        {0x466, 0x800000A4u, 0},
                                        {0x466, 0x800000A3u, 0x01000000}}));
}

TEST(KeyboardHook, KeyStreamsTellSystemKeysAndPostTheirTimes)
{
    // The one translation of evdev events, for the library's hook and a window's own grab.
    EvdevKeyStream stream;
    const auto message = [&](unsigned short code, int value) {
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        const bool known = stream.hookMessage(code, value, wParam, lParam);
        return known ? Post{0x466, wParam, lParam} : Post{0, 0, 0};
    };
    EXPECT_EQ(message(KEY_A, 1), (Post{0x466, 0x41, 0}));
    EXPECT_EQ(message(KEY_LEFTALT, 1), (Post{0x466, 0x400000A4u, 0}));
    EXPECT_EQ(message(KEY_TAB, 2), (Post{0x466, 0x40000009u, 0}));
    EXPECT_EQ(message(KEY_RIGHTALT, 1), (Post{0x466, 0x400000A5u, 0x01000000}));
    EXPECT_EQ(message(KEY_LEFTALT, 0), (Post{0x466, 0xC00000A4u, 0})); // the right one is held
    EXPECT_EQ(message(KEY_RIGHTALT, 0), (Post{0x466, 0x800000A5u, 0x01000000}));
    EXPECT_EQ(message(KEY_TAB, 0), (Post{0x466, 0x80000009u, 0}));
    EXPECT_EQ(message(KEY_KPENTER, 1), (Post{0x466, 0x0D, 0x01000000}));
    EXPECT_EQ(message(BTN_LEFT, 1), (Post{0, 0, 0}));
    message(KEY_LEFTALT, 1);
    stream.reset();
    EXPECT_EQ(message(KEY_TAB, 1), (Post{0x466, 0x09, 0}));

    // The hook procedure hands the event's time on.
    struct TimedTarget : MessageTarget {
        void post(unsigned int, std::uintptr_t, std::intptr_t) override { ++untimed; }
        void postTimed(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::uint32_t timeMs) override
        {
            posts.push_back({message, wParam, lParam});
            times.push_back(timeMs);
        }
        std::vector<Post> posts;
        std::vector<std::uint32_t> times;
        int untimed = 0;
    } window;
    quillodev::hookData().window = &window;
    std::uintptr_t kind = 0;
    KeyboardEvent event{};
    ASSERT_TRUE(stream.translate(KEY_B, 1, 123456u, kind, event));
    KeyBoardProc(0, kind, reinterpret_cast<std::intptr_t>(&event));
    quillodev::hookData().window = nullptr;
    EXPECT_EQ(window.posts, (std::vector<Post>{{0x466, 0x42, 0}}));
    EXPECT_EQ(window.times, (std::vector<std::uint32_t>{123456u}));
    EXPECT_EQ(window.untimed, 0);
}
