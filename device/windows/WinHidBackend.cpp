#include "device/windows/WinHidBackend.h"

#include "device/src/Discovery.h"
#include "device/windows/WinHidUtil.h"

#include <windows.h>

#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <vector>

namespace quillodev {

std::vector<std::wstring> WinHidBackend::interfacePaths()
{
    std::vector<std::wstring> paths;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set
        = SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return paths;

    for (DWORD i = 0;; ++i) {
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof info;
        if (!SetupDiEnumDeviceInfo(set, i, &info))
            break;
        SP_DEVICE_INTERFACE_DATA interface {};
        interface.cbSize = sizeof interface;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, i, &interface))
            break;
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &interface, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            break;
        std::vector<unsigned char> buffer(size);
        auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W *>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &interface, detail, size, nullptr, nullptr))
            break;
        paths.emplace_back(detail->DevicePath);
    }
    SetupDiDestroyDeviceInfoList(set);
    return paths;
}

std::unique_ptr<CNuboUtil> WinHidBackend::open(const std::wstring &path)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    return std::make_unique<WinHidUtil>(handle);
}

std::shared_ptr<HidBackend> platformHidBackend()
{
    static const std::shared_ptr<HidBackend> backend = std::make_shared<WinHidBackend>();
    return backend;
}

} // namespace quillodev
