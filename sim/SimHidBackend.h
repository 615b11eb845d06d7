#pragma once

#include <quillodev/HidBackend.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quillosim {

class SimKeyboard;

// Presents emulated keyboards as HID interfaces, each with a Windows-style identifier text
// ("sim:keyboard#vid_0483&pid_5330&mi_01"), optionally behind decoys that discovery must pass
// over: interface 0 of the same keyboard, other vendors' devices, an unknown product of our
// vendor and identifiers in upper case.
class SimHidBackend : public quillodev::HidBackend {
public:
    explicit SimHidBackend(std::shared_ptr<SimKeyboard> keyboard, bool withDecoys = false);

    // A further keyboard, enumerated after those already attached.
    void addKeyboard(std::shared_ptr<SimKeyboard> keyboard);

    // Keyboards that are unplugged are not present; decoys always are.
    std::vector<std::wstring> interfacePaths() override;
    // A transport on the keyboard or decoy at `path`; null when nothing is present there.
    std::unique_ptr<CNuboUtil> open(const std::wstring &path) override;

    // The interface path of the n-th keyboard (0 first).
    std::wstring keyboardPath(std::size_t index) const;
    // How many transports were opened on `path`.
    int openCount(const std::wstring &path) const;

private:
    std::vector<std::wstring> decoyPaths() const;

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<SimKeyboard>> m_keyboards;
    bool m_withDecoys;
    std::map<std::wstring, int> m_opened;
};

} // namespace quillosim
