#pragma once

// Everything the program, the emulator and tests use of the device library.
#include "CKeyboardUtil.h"
#include "CNuboHWI.h"
#include "CNuboUtil.h"
#include "DeviceAccess.h"
#include "Export.h"
#include "FirmwareCheck.h"
#include "HidBackend.h"
#include "KeyboardHook.h"
#include "MessageTarget.h"
