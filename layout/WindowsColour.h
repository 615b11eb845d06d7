#pragma once

#include <QColor>

#include <cstdint>

// Layout tables keep colours as Windows values 0x00BBGGRR; this is the one conversion to Qt.
inline QColor colourFromWindows(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline std::uint32_t windowsFromColour(const QColor &colour)
{
    return std::uint32_t(colour.red()) | (std::uint32_t(colour.green()) << 8)
           | (std::uint32_t(colour.blue()) << 16);
}
