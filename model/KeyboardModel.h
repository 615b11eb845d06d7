#pragma once

// The four keyboards of the family by DeviceType: their names (window titles, profile roots,
// firmware prefixes) and whether they take per-key colours. 0, no keyboard found, counts as 1.
namespace KeyboardModel {

constexpr int Count = 4;
constexpr const char *names[Count] = {"Quillo(RGB)BLe", "Quillo(S)BLe", "Quillo(S)", "Quillo(RGB)"};

constexpr const char *name(int deviceType)
{
    return deviceType >= 2 && deviceType <= Count ? names[deviceType - 1] : names[0];
}

// The RGB models, 1 and 4.
constexpr bool hasKeyColours(int deviceType)
{
    return deviceType != 2 && deviceType != 3;
}

} // namespace KeyboardModel
