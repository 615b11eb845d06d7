#pragma once

#include <quillodev/HidBackend.h>

#include <string>

namespace quillodev {

// The keyboard's interfaces as Linux's hidraw nodes. Each is reported as its device node
// followed by Windows-style identifiers, e.g. "/dev/hidraw3#vid_0483&pid_5330&mi_01", taken
// from the node's sysfs uevent (HID_ID bus:vendor:product, HID_PHYS ending in /inputN).
// Nodes whose report descriptor cannot carry the keyboard's reports are left out, so that a
// boot keyboard on interface 1 is never taken for the settings interface.
class HidrawBackend : public HidBackend {
public:
    explicit HidrawBackend(std::string sysfsRoot = "/sys", std::string deviceRoot = "/dev");

    std::vector<std::wstring> interfacePaths() override;
    // Opens the node read/write; null when it cannot be opened, so that a keyboard this user
    // may not use is not taken for one that answers nothing.
    std::unique_ptr<CNuboUtil> open(const std::wstring &path) override;
    std::optional<OpenProblem> openProblem(const std::wstring &path) override;

    // The identifier part for one uevent text, e.g. "vid_0483&pid_5330&mi_01"; empty when the
    // text names no HID device.
    static std::string identifiersFromUevent(const std::string &uevent);

private:
    // The device node of a path this backend reported.
    static std::string nodeOf(const std::wstring &path);
    bool mayCarryKeyboardReports(const std::string &node) const;

    std::string m_sysfsRoot;
    std::string m_deviceRoot;
};

} // namespace quillodev
