// The Windows backend where it runs: the transport's overlapped reports over a message pipe that
// stands in for the keyboard's interface, enumeration through the set-up services, and the
// hook posting real window messages.
#include "device/windows/WinHidBackend.h"

#include <quillodev/CNuboHWI.h>
#include <quillodev/KeyboardHook.h>
#include <quillodev/WindowsMessageTarget.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

namespace {

// The keyboard's end of the cable: a pipe that keeps each report a message of its own.
class PipeKeyboard {
public:
    PipeKeyboard()
        : name(L"\\\\.\\pipe\\quillo-test-" + std::to_wstring(GetCurrentProcessId()))
    {
        handle = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                  PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096,
                                  4096, 0, nullptr);
    }
    ~PipeKeyboard()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }

    std::string receive()
    {
        char buffer[256];
        DWORD got = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr))
            return {};
        return std::string(buffer, got);
    }
    bool send(const std::string &report)
    {
        DWORD put = 0;
        return WriteFile(handle, report.data(), DWORD(report.size()), &put, nullptr)
               && put == report.size();
    }

    std::wstring name;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

} // namespace

TEST(WindowsBackend, ReportsCrossAnOverlappedHandleAndReadsTimeOut)
{
    PipeKeyboard keyboard;
    ASSERT_NE(keyboard.handle, INVALID_HANDLE_VALUE);
    quillodev::WinHidBackend backend;
    std::unique_ptr<CNuboUtil> util = backend.open(keyboard.name);
    ASSERT_TRUE(util);

    unsigned char report[65] = {};
    report[2] = 0xF9;
    ASSERT_TRUE(util->writeReport(report, 65));
    const std::string written = keyboard.receive();
    ASSERT_EQ(written.size(), 65u);
    EXPECT_EQ(static_cast<unsigned char>(written[2]), 0xF9);

    // The answer's report number is dropped; a short one leaves the rest cleared.
    std::string answer(65, '\0');
    answer[2] = 'V';
    answer[3] = '1';
    ASSERT_TRUE(keyboard.send(answer));
    ASSERT_TRUE(keyboard.send(std::string("\0\xE0\x01", 3)));
    unsigned char payload[64];
    unsigned int length = 64;
    ASSERT_TRUE(util->readReport(payload, length, 1000));
    EXPECT_EQ(length, 64u);
    EXPECT_EQ(payload[1], 'V');
    std::fill(std::begin(payload), std::end(payload), 0xAA);
    length = 64;
    ASSERT_TRUE(util->readReport(payload, length, 1000));
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(payload[0], 0xE0);
    EXPECT_EQ(payload[2], 0x00);

    // Nothing comes: the read gives up in its time and the handle stays usable.
    const auto start = std::chrono::steady_clock::now();
    length = 64;
    EXPECT_FALSE(util->readReport(payload, length, 100));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    ASSERT_TRUE(util->writeReport(report, 65));
    EXPECT_EQ(keyboard.receive().size(), 65u);

    // Unplugged.
    DisconnectNamedPipe(keyboard.handle);
    length = 64;
    EXPECT_FALSE(util->readReport(payload, length, 1000));
    EXPECT_FALSE(util->writeReport(report, 65));
}

TEST(WindowsBackend, EnumerationFindsNoKeyboardWhereNoneIsAttached)
{
    quillodev::WinHidBackend backend;
    for (const std::wstring &path : backend.interfacePaths())
        EXPECT_FALSE(path.empty());
    quillodev::setHidBackend(nullptr);
    CNuboHWI hwi;
    EXPECT_EQ(hwi.DetectDeviceType(), 0);
    EXPECT_FALSE(hwi.DetectDevice());
    EXPECT_FALSE(hwi.__createDev());
    // A path that names nothing gives a transport whose reports fail, as the facade expects.
    std::unique_ptr<CNuboUtil> util = backend.open(L"\\\\.\\pipe\\quillo-nothing-here");
    ASSERT_TRUE(util);
    unsigned char report[65] = {};
    EXPECT_FALSE(util->writeReport(report, 65));
}

TEST(WindowsBackend, HookEventsArriveAsPostedWindowMessages)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    ASSERT_TRUE(window);
    quillodev::WindowsMessageTarget target(window);
    ASSERT_TRUE(InstallHook(&target));

    // Right Ctrl released as a system key: both flags, and the extended key in lParam.
    KeyboardEvent event{VK_RCONTROL, 0x1D, LLKHF_EXTENDED, 0, 0};
    EXPECT_EQ(KeyBoardProc(0, WM_SYSKEYUP, reinterpret_cast<std::intptr_t>(&event)), 1);
    KeyboardEvent a{'A', 0x1E, 0, 0, 0};
    EXPECT_EQ(KeyBoardProc(0, WM_KEYDOWN, reinterpret_cast<std::intptr_t>(&a)), 1);

    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, 0x466u);
    EXPECT_EQ(std::uintptr_t(message.wParam), 0xC0000000u | VK_RCONTROL);
    EXPECT_EQ(std::intptr_t(message.lParam), 0x01000000);
    ASSERT_TRUE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(std::uintptr_t(message.wParam), std::uintptr_t('A'));
    EXPECT_EQ(std::intptr_t(message.lParam), 0);
    EXPECT_FALSE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));

    EXPECT_TRUE(UninstallHook());
    EXPECT_FALSE(UninstallHook());
    DestroyWindow(window);
}
