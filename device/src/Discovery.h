#pragma once

#include <quillodev/HidBackend.h>

#include <memory>
#include <string>

namespace quillodev {

// DeviceType of an interface path: 1..4 for the four keyboards' interface 1, 0 otherwise.
int deviceTypeOfPath(const std::wstring &path);

// The backend set by setHidBackend, or the platform's own.
std::shared_ptr<HidBackend> currentHidBackend();

// The first matching interface of a fresh enumeration, or an empty text.
std::wstring firstKeyboardPath();

} // namespace quillodev
