#pragma once

#include "CNuboUtil.h"
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
    virtual std::unique_ptr<CNuboUtil> open(const std::wstring &path) = 0;
};

// nullptr: back to the platform's own backend.
QUILLODEV_EXPORT void setHidBackend(std::shared_ptr<HidBackend> backend);
// The platform's own backend (hidraw on Linux, the set-up services on Windows), for callers
// that wrap it, such as a report trace.
QUILLODEV_EXPORT std::shared_ptr<HidBackend> platformHidBackend();

} // namespace quillodev
