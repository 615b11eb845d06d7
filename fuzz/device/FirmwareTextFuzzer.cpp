// Any firmware text: checked, and sent only when the check passes; the exported check that the
// program shows its reasons from agrees with the download.
#include <quillodev/CNuboHWI.h>
#include <quillodev/FirmwareCheck.h>
#include <quillodev/HidBackend.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

class Sink : public CNuboUtil {
public:
    bool writeReport(const unsigned char *, unsigned int length) override { return length == 65; }
    bool readReport(unsigned char *, unsigned int &, int) override { return false; }
};

class SinkBackend : public quillodev::HidBackend {
public:
    std::vector<std::wstring> interfacePaths() override
    {
        return {L"fuzz#vid_0483&pid_5030&mi_01"};
    }
    std::unique_ptr<CNuboUtil> open(const std::wstring &) override
    {
        return std::make_unique<Sink>();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    static const bool installed = [] {
        quillodev::setHidBackend(std::make_shared<SinkBackend>());
        return true;
    }();
    (void)installed;
    static CNuboHWI hwi;
    hwi.__createDev();
    // Not terminated: the length alone must bound the reading.
    std::vector<char> text(data, data + size);
    const quillodev::FirmwareCheck check = quillodev::checkFirmwareText(text.data(), int(size));
    const bool sent = hwi.WriteFirmwareToKeyboard(text.data(), int(text.size()), nullptr);
    // The sink takes every report, so the download fails exactly when the check does.
    if (size > 0 && (sent != check.ok() || check.line < 0 || (check.ok() && check.line != 0)))
        __builtin_trap();
    return 0;
}
