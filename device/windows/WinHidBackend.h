#pragma once

#include <quillodev/HidBackend.h>

namespace quillodev {

// The present HID interfaces through the device set-up services, opened as files.
class WinHidBackend : public HidBackend {
public:
    std::vector<std::wstring> interfacePaths() override;
    // An interface that cannot be opened gives a transport whose reports all fail.
    std::unique_ptr<CNuboUtil> open(const std::wstring &path) override;
};

} // namespace quillodev
