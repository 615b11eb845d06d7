#include <quillodev/CNuboHWI.h>

#include "device/src/CContinousKeyDefine.h"
#include "device/src/CMacroKeyDefine.h"
#include "device/src/CNormalKeyDefine.h"
#include "device/src/CNubo.h"
#include "device/src/Discovery.h"
#include "device/src/FirmwareImage.h"

#include <quillodev/CNuboUtil.h>

#include <algorithm>
#include <cstring>

namespace {

// Lets one exchange run on the facade at a time; a second one fails at once instead of mixing
// its reports into the first.
class ExchangeGuard {
public:
    explicit ExchangeGuard(std::atomic<bool> &busy)
        : m_busy(busy)
    {
        bool expected = false;
        m_owned = m_busy.compare_exchange_strong(expected, true);
    }
    ~ExchangeGuard()
    {
        if (m_owned)
            m_busy.store(false);
    }
    ExchangeGuard(const ExchangeGuard &) = delete;
    ExchangeGuard &operator=(const ExchangeGuard &) = delete;

    explicit operator bool() const { return m_owned; }

private:
    std::atomic<bool> &m_busy;
    bool m_owned = false;
};

constexpr int MaxByte = 0xFF;
constexpr int MaxWord = 0xFFFF;

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

bool allInRange(const int *values, long long n, long long step, int high)
{
    for (long long i = 0; i < n; ++i) {
        if (!inRange(values[i * step], 0, high))
            return false;
    }
    return true;
}

std::unique_ptr<CKeyDefine> normalFromArray(int key, int layer, const int *a, long long count)
{
    if (count < 2 || !inRange(a[1], 0, CNormalKeyDefine::MaxCodes) || count < 2LL + a[1]
        || !allInRange(a + 2, a[1], 1, MaxByte))
        return nullptr;
    auto record = std::make_unique<CNormalKeyDefine>(key, layer);
    record->count = a[1];
    record->codes.assign(a + 2, a + 2 + a[1]);
    return record;
}

std::unique_ptr<CKeyDefine> continuousFromArray(int key, int layer, const int *a, long long count)
{
    if (count < 3 || !inRange(a[1], 0, MaxWord) || !inRange(a[2], 0, CContinousKeyDefine::MaxCodes)
        || count < 3LL + a[2] || !allInRange(a + 3, a[2], 1, MaxByte))
        return nullptr;
    auto record = std::make_unique<CContinousKeyDefine>(key, layer);
    record->interval = a[1];
    record->count = a[2];
    record->codes.assign(a + 3, a + 3 + a[2]);
    return record;
}

std::unique_ptr<CKeyDefine> macroFromArray(int key, int layer, const int *a, long long count)
{
    if (count < 6 || !inRange(a[1], 0, 2) || !inRange(a[2], 0, MaxByte) || !inRange(a[3], 0, 1)
        || !inRange(a[4], 0, MaxWord) || a[5] < 0)
        return nullptr;
    const long long n = a[5];
    const bool withDelays = a[3] == 1;
    if ((withDelays ? 4 * n : n) > CMacroKeyDefine::MaxDataLength)
        return nullptr;
    const long long step = withDelays ? 2 : 1;
    if (count < 6 + step * n || !allInRange(a + 6, n, step, MaxByte)
        || (withDelays && !allInRange(a + 7, n, 2, MaxWord)))
        return nullptr;

    auto record = std::make_unique<CMacroKeyDefine>(key, layer, 2 + a[1]);
    record->cycles = a[2];
    record->hasDelays = a[3];
    record->interval = a[4];
    record->count = int(n);
    record->codes.assign(size_t(n), 0);
    record->delays.assign(size_t(n), 0);
    for (long long j = 0; j < n; ++j) {
        record->codes[size_t(j)] = a[6 + step * j];
        if (withDelays)
            record->delays[size_t(j)] = a[7 + 2 * j];
    }
    return record;
}

} // namespace

CNuboHWI::CNuboHWI() = default;

CNuboHWI::~CNuboHWI()
{
    m_nubo.reset();
    m_util.reset();
}

bool CNuboHWI::__createDev()
{
    ExchangeGuard guard(m_busy);
    if (!guard)
        return false;
    if (m_util)
        return true;
    const std::shared_ptr<quillodev::HidBackend> backend = quillodev::currentHidBackend();
    if (!backend)
        return false;
    for (const std::wstring &path : backend->interfacePaths()) {
        if (quillodev::deviceTypeOfPath(path) == 0)
            continue;
        // Enumeration order decides between several keyboards.
        std::unique_ptr<CNuboUtil> util = backend->open(path);
        if (!util)
            return false;
        m_util = std::move(util);
        m_nubo = std::make_unique<CNubo>(m_util.get());
        return true;
    }
    return false;
}

bool CNuboHWI::__closeDev()
{
    ExchangeGuard guard(m_busy);
    // Closing under a running exchange would pull the transport from under it.
    if (!guard)
        return false;
    m_nubo.reset();
    m_util.reset();
    return true;
}

bool CNuboHWI::DetectDevice()
{
    return !quillodev::firstKeyboardPath().empty();
}

int CNuboHWI::DetectDeviceType()
{
    return quillodev::deviceTypeOfPath(quillodev::firstKeyboardPath());
}

wchar_t *CNuboHWI::getHardwareVersion()
{
    ExchangeGuard guard(m_busy);
    if (!guard)
        return m_version;
    // A failed query leaves an empty text rather than an earlier keyboard's.
    std::fill(std::begin(m_version), std::end(m_version), L'\0');
    if (m_util)
        m_util->readVersion(m_version);
    return m_version;
}

bool CNuboHWI::ReadKeyboardVersion(wchar_t *text)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !text || !m_util)
        return false;
    return m_util->readVersion(text);
}

bool CNuboHWI::prepare()
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_nubo)
        return false;
    m_nubo->clearDefinitions();
    return true;
}

bool CNuboHWI::setKeyConfiguration(int layer, int key, int *config, int count)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_nubo || !config || count < 1)
        return false;
    const int slot = CNubo::slotOf(layer + 1, key);
    if (layer < 0 || layer > 1 || slot < 0)
        return false;

    std::unique_ptr<CKeyDefine> record;
    switch (config[0]) {
    case 0:
        record = normalFromArray(key, layer + 1, config, count);
        break;
    case 1:
        record = continuousFromArray(key, layer + 1, config, count);
        break;
    case 2:
        record = macroFromArray(key, layer + 1, config, count);
        break;
    default:
        break;
    }
    if (!record)
        return false;
    return m_nubo->setRecord(slot, std::move(record));
}

bool CNuboHWI::getKeyConfiguration(int layer, int key, int *config, int capacity)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_nubo || !config)
        return false;
    const int slot = CNubo::slotOf(layer + 1, key);
    if (layer < 0 || layer > 1 || slot < 0)
        return false;

    const CKeyDefine *record = m_nubo->record(slot);
    if (!record) {
        if (capacity < 2)
            return false;
        config[0] = 0;
        config[1] = 0;
        return true;
    }
    if (const auto *normal = dynamic_cast<const CNormalKeyDefine *>(record)) {
        const int n = std::min(normal->count, int(normal->codes.size()));
        if (capacity < 2 + n)
            return false;
        config[0] = 0;
        config[1] = n;
        std::copy_n(normal->codes.begin(), n, config + 2);
        return true;
    }
    if (const auto *continuous = dynamic_cast<const CContinousKeyDefine *>(record)) {
        const int n = std::min(continuous->count, int(continuous->codes.size()));
        if (capacity < 3 + n)
            return false;
        config[0] = 1;
        config[1] = continuous->interval;
        config[2] = n;
        std::copy_n(continuous->codes.begin(), n, config + 3);
        return true;
    }
    const auto *macro = dynamic_cast<const CMacroKeyDefine *>(record);
    if (!macro)
        return false;
    const int n = std::max(
        0, std::min({macro->count, int(macro->codes.size()), int(macro->delays.size())}));
    if (capacity < 6 + (macro->hasDelays ? 2 * n : n))
        return false;
    config[0] = 2;
    config[1] = macro->type - 2;
    config[2] = macro->cycles;
    config[3] = macro->hasDelays ? 1 : 0; // any non-zero byte from the keyboard means delays
    config[4] = macro->interval;
    config[5] = n;
    for (int j = 0; j < n; ++j) {
        if (!macro->hasDelays) {
            config[6 + j] = macro->codes[size_t(j)];
            continue;
        }
        config[6 + 2 * j] = macro->codes[size_t(j)];
        // The keyboard never gives back the last entry's delay; the caller's element stays.
        if (j + 1 < n)
            config[7 + 2 * j] = macro->delays[size_t(j)];
    }
    return true;
}

bool CNuboHWI::writeKeyConfigurationToDev(WindowHandle window)
{
    ExchangeGuard guard(m_busy);
    return guard && m_nubo && m_nubo->writeKeyDefinitions(window);
}

bool CNuboHWI::readKeyDefinationFromDev(WindowHandle window)
{
    ExchangeGuard guard(m_busy);
    return guard && m_nubo && m_nubo->readKeyDefinitions(window);
}

bool CNuboHWI::setKeyboardLightArea(int *values)
{
    ExchangeGuard guard(m_busy);
    return guard && m_nubo && m_nubo->writeLightArea(values);
}

bool CNuboHWI::readKeyLightFromDev()
{
    ExchangeGuard guard(m_busy);
    return guard && m_nubo && m_nubo->readLightArea();
}

bool CNuboHWI::getKeyboardLightArea(int *values)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_nubo || !values)
        return false;
    std::copy(std::begin(m_nubo->LightArea), std::end(m_nubo->LightArea), values);
    return true;
}

bool CNuboHWI::getPressCounterFromDev(int *values)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_nubo || !values)
        return false;
    const bool read = m_nubo->readPressCounters();
    // The counters read last are copied out even when this read failed part way.
    const unsigned char *area = m_nubo->CounterArea;
    for (int key = 0; key < CNubo::KeyCount; ++key) {
        const unsigned char *c = area + 4 * key;
        values[key] = int(std::uint32_t(c[0]) | std::uint32_t(c[1]) << 8 | std::uint32_t(c[2]) << 16
                          | std::uint32_t(c[3]) << 24);
    }
    return read;
}

bool CNuboHWI::WriteFirmwareToKeyboard(char *text, int length, WindowHandle window)
{
    ExchangeGuard guard(m_busy);
    if (!guard || !m_util)
        return false;
    return quillodev::FirmwareImage::download(*m_util, text, length, window);
}
