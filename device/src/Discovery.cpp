#include "device/src/Discovery.h"

#include <array>
#include <mutex>

namespace quillodev {

namespace {

constexpr std::wstring_view VendorId = L"0483";
constexpr std::array<std::wstring_view, 4> ProductIds = {L"5030", L"5130", L"5230", L"5330"};

std::mutex backendMutex;
std::shared_ptr<HidBackend> chosenBackend;

// The four characters after `marker`, or an empty view when the marker or the room is missing.
std::wstring_view idAfter(std::wstring_view path, std::wstring_view marker)
{
    const size_t at = path.find(marker);
    if (at == std::wstring_view::npos || path.size() - at < marker.size() + 4)
        return {};
    return path.substr(at + marker.size(), 4);
}

} // namespace

int deviceTypeOfPath(const std::wstring &path)
{
    const std::wstring_view view(path);
    // Interface 1 of the composite device; a path that starts with it is not an interface path.
    const size_t interface = view.find(L"mi_01");
    if (interface == std::wstring_view::npos || interface == 0)
        return 0;
    if (idAfter(view, L"vid_") != VendorId)
        return 0;
    const std::wstring_view product = idAfter(view, L"pid_");
    for (size_t i = 0; i < ProductIds.size(); ++i) {
        if (product == ProductIds[i])
            return int(i) + 1;
    }
    return 0;
}

void setHidBackend(std::shared_ptr<HidBackend> backend)
{
    std::lock_guard lock(backendMutex);
    chosenBackend = std::move(backend);
}

std::shared_ptr<HidBackend> currentHidBackend()
{
    {
        std::lock_guard lock(backendMutex);
        if (chosenBackend)
            return chosenBackend;
    }
    return platformHidBackend();
}

std::wstring firstKeyboardPath()
{
    const std::shared_ptr<HidBackend> backend = currentHidBackend();
    if (!backend)
        return {};
    for (const std::wstring &path : backend->interfacePaths()) {
        if (deviceTypeOfPath(path) != 0)
            return path;
    }
    return {};
}

std::optional<OpenProblem> keyboardOpenProblem()
{
    const std::shared_ptr<HidBackend> backend = currentHidBackend();
    if (!backend)
        return std::nullopt;
    for (const std::wstring &path : backend->interfacePaths()) {
        // The one the facade would open.
        if (deviceTypeOfPath(path) != 0)
            return backend->openProblem(path);
    }
    return std::nullopt;
}

} // namespace quillodev
