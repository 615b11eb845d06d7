#pragma once

#include <cstdint>
#include <span>

// The code buttons of the key settings pages 4..7: which device code each one stands for, its
// name in both languages and, for the Function page, the keyboards that have it.
namespace KeySettingsCodes {

// Bit (1 << (DeviceType - 1)); DeviceType 0 counts as 1.
constexpr std::uint8_t AllVariants = 0x0F;
constexpr std::uint8_t Wireless = 0x03;   // Quillo(RGB)BLe, Quillo(S)BLe
constexpr std::uint8_t KeyColours = 0x09; // Quillo(RGB)BLe, Quillo(RGB)

struct CodeButton {
    int id;
    int code;
    const char *zh; // tooltip, or on the Mouse page the caption
    const char *en;
    std::uint8_t variants = AllVariants;
    const char *labelZh = nullptr; // the Power page's labels differ from their tooltips
    const char *labelEn = nullptr;
};

// The buttons of a page 4..7 in table order; empty for other pages.
std::span<const CodeButton> buttonsOfPage(int page);
// The button with this id on any page, or null.
const CodeButton *buttonOfId(int id);
// Whether a keyboard of this DeviceType offers the button.
bool offers(const CodeButton &button, int deviceType);

} // namespace KeySettingsCodes
