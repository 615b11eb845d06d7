#include <quillodev/KeyboardHook.h>

#include "device/linux/EvdevHook.h"
#include "device/src/HookData.h"

#include <memory>
#include <mutex>

namespace {

std::mutex hookMutex;
std::unique_ptr<quillodev::EvdevHook> evdevHook;

} // namespace

bool InstallHook(WindowHandle window)
{
    quillodev::HookData &data = quillodev::hookData();
    data.window.store(window);
    // Grabbing every keyboard with nowhere to send the keys would only lock the user out.
    if (!window)
        return false;
    std::lock_guard lock(hookMutex);
    // Installing again only retargets the running hook.
    if (evdevHook && evdevHook->running())
        return true;
    auto hook = std::make_unique<quillodev::EvdevHook>();
    if (!hook->start())
        return false;
    evdevHook = std::move(hook);
    data.hook.store(reinterpret_cast<std::uintptr_t>(evdevHook.get()));
    return true;
}

bool UninstallHook()
{
    std::lock_guard lock(hookMutex);
    if (!evdevHook)
        return false;
    evdevHook->stop();
    evdevHook.reset();
    quillodev::hookData().hook.store(0);
    return true;
}
