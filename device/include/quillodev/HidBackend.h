#pragma once

#include "CNuboUtil.h"
#include "DeviceAccess.h"
#include "Export.h"

#include <memory>
#include <string>
#include <vector>

namespace quillodev {

// The platform seam: what HID interfaces are present and how to open one. Discovery applies
// one matching rule to the path texts, so every backend reports Windows-style identifiers
// ("vid_0483&pid_5330&mi_01") inside its paths.
class QUILLODEV_EXPORT HidBackend {
public:
    virtual ~HidBackend() = default;
    // Present HID interfaces, in enumeration order; asked afresh by every discovery call.
    virtual std::vector<std::wstring> interfacePaths() = 0;
    // Null when the interface cannot be opened.
    virtual std::unique_ptr<CNuboUtil> open(const std::wstring &path) = 0;
    // Why `path` cannot be opened, when the backend can tell; opening it is the only way to
    // know, so this opens and closes it.
    virtual std::optional<OpenProblem> openProblem(const std::wstring & /*path*/)
    {
        return std::nullopt;
    }
};

// nullptr: back to the platform's own backend.
QUILLODEV_EXPORT void setHidBackend(std::shared_ptr<HidBackend> backend);
// The platform's own backend (hidraw on Linux, the set-up services on Windows), for callers
// that wrap it, such as a report trace.
QUILLODEV_EXPORT std::shared_ptr<HidBackend> platformHidBackend();

#if defined(__linux__)
// The hidraw backend over another sysfs tree and device folder (a test's, a container's).
QUILLODEV_EXPORT std::shared_ptr<HidBackend> hidrawBackend(const std::string &sysfsRoot,
                                                           const std::string &deviceRoot);
#endif

} // namespace quillodev
