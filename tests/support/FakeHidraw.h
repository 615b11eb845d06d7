#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

// A sysfs tree and a device folder with the hidraw nodes of one keyboard: interface 0 as
// hidraw0 and interface 1, the one Quillo opens, as hidraw1 of the given mode (0 for a node
// this user may not open). Removed with everything in it.
class FakeHidraw {
public:
    FakeHidraw(const std::string &name, std::filesystem::perms mode)
        : root(std::filesystem::temp_directory_path()
               / ("quillo-hidraw-" + std::to_string(::getpid()) + "-" + name))
    {
        std::filesystem::remove_all(root);
        addNode("hidraw0", "usb-0000:00:14.0-2/input0");
        addNode("hidraw1", "usb-0000:00:14.0-2/input1");
        std::filesystem::create_directories(root / "dev");
        for (const char *node : {"hidraw0", "hidraw1"})
            std::ofstream(root / "dev" / node).put('\0');
        std::filesystem::permissions(root / "dev" / "hidraw1", mode);
    }
    ~FakeHidraw() { std::filesystem::remove_all(root); }
    FakeHidraw(const FakeHidraw &) = delete;
    FakeHidraw &operator=(const FakeHidraw &) = delete;

    std::string sysfs() const { return (root / "sys").string(); }
    std::string devices() const { return (root / "dev").string(); }
    std::string node() const { return (root / "dev" / "hidraw1").string(); }

    const std::filesystem::path root;

private:
    void addNode(const std::string &name, const std::string &phys)
    {
        const std::filesystem::path dir = root / "sys" / "class" / "hidraw" / name / "device";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "uevent") << "DRIVER=hid-generic\nHID_ID=0003:00000483:00005330\n"
                                         "HID_NAME=Quillo Keyboard\nHID_PHYS="
                                      << phys << "\n";
    }
};
