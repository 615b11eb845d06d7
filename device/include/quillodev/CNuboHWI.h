#pragma once

#include "Export.h"
#include "MessageTarget.h"

#include <atomic>
#include <memory>

class CNuboUtil;
class CNubo;

// The device facade: the program's only way to the keyboard.
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
    bool setKeyConfiguration(int layer, int key, int *config, int count);
    bool getKeyConfiguration(int layer, int key, int *config, int capacity);
    bool writeKeyConfigurationToDev(WindowHandle window);
    bool readKeyDefinationFromDev(WindowHandle window);

    bool setKeyboardLightArea(int *values);
    bool readKeyLightFromDev();
    bool getKeyboardLightArea(int *values);
    bool getPressCounterFromDev(int *values);

    bool WriteFirmwareToKeyboard(char *text, int length, WindowHandle window);

private:
    std::unique_ptr<CNuboUtil> m_util;
    std::unique_ptr<CNubo> m_nubo;
    wchar_t m_version[64] = {};
    std::atomic<bool> m_busy{false};
};
