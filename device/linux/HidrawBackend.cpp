#include "device/linux/HidrawBackend.h"

#include "device/linux/HidrawUtil.h"
#include "device/src/Discovery.h"
#include "device/src/ReportDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace quillodev {

namespace {

namespace fs = std::filesystem;

// Paths are bytes on Linux; each byte becomes one character and back, so nothing is lost.
std::wstring widen(const std::string &text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (unsigned char c : text)
        wide.push_back(wchar_t(c));
    return wide;
}

std::string narrow(const std::wstring &text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text)
        bytes.push_back(char(static_cast<unsigned char>(c)));
    return bytes;
}

// Number of a "hidrawN" entry, or -1.
long nodeNumber(const std::string &name)
{
    constexpr std::string_view prefix = "hidraw";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    long number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 1'000'000)
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

bool parseHex(const std::string &text, unsigned long &value)
{
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        value = value * 16 + unsigned(digit);
    }
    return true;
}

} // namespace

HidrawBackend::HidrawBackend(std::string sysfsRoot, std::string deviceRoot)
    : m_sysfsRoot(std::move(sysfsRoot))
    , m_deviceRoot(std::move(deviceRoot))
{}

std::string HidrawBackend::identifiersFromUevent(const std::string &uevent)
{
    std::string hidId;
    std::string phys;
    std::istringstream lines(uevent);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("HID_ID=", 0) == 0)
            hidId = line.substr(7);
        else if (line.rfind("HID_PHYS=", 0) == 0)
            phys = line.substr(9);
    }

    // HID_ID is bus:vendor:product in hexadecimal.
    const size_t first = hidId.find(':');
    const size_t second = first == std::string::npos ? first : hidId.find(':', first + 1);
    unsigned long vendor = 0;
    unsigned long product = 0;
    if (second == std::string::npos
        || !parseHex(hidId.substr(first + 1, second - first - 1), vendor)
        || !parseHex(hidId.substr(second + 1), product))
        return {};

    char text[64];
    std::snprintf(text, sizeof text, "vid_%04lx&pid_%04lx", vendor & 0xFFFF, product & 0xFFFF);
    std::string identifiers = text;

    // The USB HID driver ends HID_PHYS with the interface number, e.g. "usb-0000:00:14.0-2/input1".
    const size_t slash = phys.rfind("/input");
    unsigned long interface = 0;
    if (slash != std::string::npos) {
        const std::string number = phys.substr(slash + 6);
        const bool digits = !number.empty() && number.size() <= 3
                            && std::all_of(number.begin(), number.end(),
                                           [](char c) { return c >= '0' && c <= '9'; });
        if (digits) {
            interface = std::stoul(number);
            std::snprintf(text, sizeof text, "&mi_%02lx", interface);
            identifiers += text;
        }
    }
    return identifiers;
}

std::vector<std::wstring> HidrawBackend::interfacePaths()
{
    std::vector<std::pair<long, std::string>> nodes;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(m_sysfsRoot) / "class" / "hidraw", error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const long number = nodeNumber(name);
        if (number >= 0)
            nodes.emplace_back(number, name);
    }
    std::sort(nodes.begin(), nodes.end());

    std::vector<std::wstring> paths;
    for (const auto &[number, name] : nodes) {
        std::ifstream file(fs::path(m_sysfsRoot) / "class" / "hidraw" / name / "device" / "uevent");
        if (!file)
            continue;
        std::ostringstream content;
        content << file.rdbuf();
        const std::string identifiers = identifiersFromUevent(content.str());
        if (identifiers.empty() || !mayCarryKeyboardReports(name))
            continue;
        paths.push_back(widen(m_deviceRoot + "/" + name + "#" + identifiers));
    }
    return paths;
}

bool HidrawBackend::mayCarryKeyboardReports(const std::string &node) const
{
    // A descriptor is at most 4 KiB (HID_MAX_DESCRIPTOR_SIZE); one we cannot read does not
    // rule the node out.
    std::ifstream file(fs::path(m_sysfsRoot) / "class" / "hidraw" / node / "device"
                           / "report_descriptor",
                       std::ios::binary);
    if (!file)
        return true;
    std::vector<char> bytes(4096);
    file.read(bytes.data(), std::streamsize(bytes.size()));
    return ReportDescriptor::carriesKeyboardReports(
        reinterpret_cast<const std::uint8_t *>(bytes.data()), std::size_t(file.gcount()));
}

std::unique_ptr<CNuboUtil> HidrawBackend::open(const std::wstring &path)
{
    const int fd = ::open(nodeOf(path).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<HidrawUtil>(fd);
}

std::optional<OpenProblem> HidrawBackend::openProblem(const std::wstring &path)
{
    const std::string node = nodeOf(path);
    // Not blocking: a node is only looked at here.
    const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return std::nullopt;
    }
    const int error = errno;
    return OpenProblem{node, error == EACCES || error == EPERM, std::strerror(error)};
}

std::string HidrawBackend::nodeOf(const std::wstring &path)
{
    return narrow(path.substr(0, path.find(L'#')));
}

std::shared_ptr<HidBackend> hidrawBackend(const std::string &sysfsRoot,
                                          const std::string &deviceRoot)
{
    return std::make_shared<HidrawBackend>(sysfsRoot, deviceRoot);
}

std::shared_ptr<HidBackend> platformHidBackend()
{
    static const std::shared_ptr<HidBackend> backend = std::make_shared<HidrawBackend>();
    return backend;
}

} // namespace quillodev
