#include <quillodev/KeyboardHook.h>

#include "device/src/HookData.h"

#include <windows.h>

#include <cstddef>
#include <mutex>

static_assert(sizeof(KeyboardEvent) == sizeof(KBDLLHOOKSTRUCT));
static_assert(offsetof(KeyboardEvent, flags) == offsetof(KBDLLHOOKSTRUCT, flags));
static_assert(offsetof(KeyboardEvent, extraInfo) == offsetof(KBDLLHOOKSTRUCT, dwExtraInfo));

namespace {

std::mutex hookMutex;

LRESULT CALLBACK hookProcedure(int code, WPARAM message, LPARAM event)
{
    // Negative codes belong to the hook chain, not to us.
    if (code < 0)
        return CallNextHookEx(nullptr, code, message, event);
    return KeyBoardProc(code, message, event);
}

} // namespace

bool InstallHook(WindowHandle window)
{
    quillodev::HookData &data = quillodev::hookData();
    data.window.store(window);
    if (!window)
        return false;
    std::lock_guard lock(hookMutex);
    // Installing again only retargets: a second hook would strand the first, unremovable.
    if (data.hook.load() != 0)
        return true;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                           | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&hookProcedure), &module);
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, hookProcedure, module, 0);
    if (!hook)
        return false;
    data.hook.store(reinterpret_cast<std::uintptr_t>(hook));
    return true;
}

bool UninstallHook()
{
    std::lock_guard lock(hookMutex);
    const std::uintptr_t hook = quillodev::hookData().hook.exchange(0);
    if (!hook)
        return false;
    return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)) != 0;
}
