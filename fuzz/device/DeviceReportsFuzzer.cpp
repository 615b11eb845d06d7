// Whatever the keyboard sends: the input is cut into 64-byte reports that answer every read of
// the facade's exchanges in turn, and what was stored is then turned back into arrays and
// re-encoded.
#include <quillodev/CNuboHWI.h>
#include <quillodev/HidBackend.h>
#include <quillodev/KeyCounts.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class ScriptTransport : public CNuboUtil {
public:
    ScriptTransport(const std::uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}
    bool writeReport(const unsigned char *, unsigned int length) override { return length == 65; }
    bool readReport(unsigned char *buffer, unsigned int &length, int) override
    {
        if (m_offset >= m_size)
            return false;
        const size_t take = std::min<size_t>({64, length, m_size - m_offset});
        std::memset(buffer, 0, length);
        std::memcpy(buffer, m_data + m_offset, take);
        m_offset += take;
        return true;
    }

private:
    const std::uint8_t *m_data;
    size_t m_size;
    size_t m_offset = 0;
};

class ScriptBackend : public quillodev::HidBackend {
public:
    ScriptBackend(const std::uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}
    std::vector<std::wstring> interfacePaths() override
    {
        return {L"fuzz#vid_0483&pid_5330&mi_01"};
    }
    std::unique_ptr<CNuboUtil> open(const std::wstring &) override
    {
        return std::make_unique<ScriptTransport>(m_data, m_size);
    }

private:
    const std::uint8_t *m_data;
    size_t m_size;
};

class Sink : public MessageTarget {
public:
    void post(unsigned int, std::uintptr_t, std::intptr_t) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    quillodev::setHidBackend(std::make_shared<ScriptBackend>(data, size));
    {
        CNuboHWI hwi;
        if (!hwi.__createDev())
            return 0;
        Sink sink;
        wchar_t version[64] = {};
        hwi.ReadKeyboardVersion(version);
        hwi.readKeyDefinationFromDev(&sink);
        hwi.readKeyLightFromDev();
        int values[324];
        hwi.getKeyboardLightArea(values);
        hwi.getPressCounterFromDev(values);

        static std::vector<int> config(70000);
        for (int layer = 0; layer < 2; ++layer) {
            for (int key = 1; key <= quillodev::KeyCount; ++key) {
                if (!hwi.getKeyConfiguration(layer, key, config.data(), int(config.size())))
                    continue;
                hwi.setKeyConfiguration(layer, key, config.data(), int(config.size()));
            }
        }
        hwi.writeKeyConfigurationToDev(&sink);
    }
    quillodev::setHidBackend(nullptr);
    return 0;
}
