#pragma once

#include "Export.h"
#include "MessageTarget.h"

#include <atomic>
#include <memory>

class CNuboUtil;
class CNubo;

// The device facade: the program's only way to the keyboard. One exchange runs at a time: a
// member called while another is running on the same facade fails at once (false) instead of
// mixing its reports into the other's. Members that need an open device fail without one.
class QUILLODEV_EXPORT CNuboHWI {
public:
    CNuboHWI();
    ~CNuboHWI();
    CNuboHWI(const CNuboHWI &) = delete;
    CNuboHWI &operator=(const CNuboHWI &) = delete;

    bool __createDev();
    bool __closeDev();
    bool DetectDevice();
    int DetectDeviceType();

    wchar_t *getHardwareVersion();
    bool ReadKeyboardVersion(wchar_t *text);

    bool prepare();
    // Layer 0 (top) or 1 (Fn), key 1..108. `count` is the number of elements of `config`: a
    // layout longer than that, or any value outside its range, is refused (false, the slot
    // unchanged). True when the record was stored.
    bool setKeyConfiguration(int layer, int key, int *config, int count);
    // Writes the slot as a key configuration array; false, writing nothing, when it needs
    // more than `capacity` elements.
    bool getKeyConfiguration(int layer, int key, int *config, int capacity);
    bool writeKeyConfigurationToDev(WindowHandle window);
    bool readKeyDefinationFromDev(WindowHandle window);

    // 324 values: red, green, blue of key 1, then of key 2, ... The result is the exchange's.
    bool setKeyboardLightArea(int *values);
    bool readKeyLightFromDev();
    bool getKeyboardLightArea(int *values);
    // Copies the 108 counters read last, key 1 first; true when this read succeeded.
    bool getPressCounterFromDev(int *values);

    // Checks the whole Intel HEX text (at most `length` bytes, ending at a zero byte) and then
    // sends one report per record; a text that fails the check sends nothing.
    bool WriteFirmwareToKeyboard(char *text, int length, WindowHandle window);

private:
    std::unique_ptr<CNuboUtil> m_util;
    std::unique_ptr<CNubo> m_nubo;
    wchar_t m_version[64] = {};
    std::atomic<bool> m_busy{false};
};
