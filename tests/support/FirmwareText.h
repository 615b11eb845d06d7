#pragma once

#include <cstdio>
#include <string>

// An Intel HEX image: an extended address record, `records` data records of 16 bytes with
// their checksums, and the end-of-file record, lines ending in CR LF.
inline std::string firmwareText(int records)
{
    std::string text = ":020000040800F2\r\n";
    char line[64];
    for (int r = 0; r < records; ++r) {
        const int address = r * 16;
        unsigned sum = 16 + (address >> 8 & 0xFF) + (address & 0xFF);
        std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
        text += line;
        for (int i = 0; i < 16; ++i) {
            const int byte = (r + i * 3) & 0xFF;
            sum += unsigned(byte);
            std::snprintf(line, sizeof line, "%02X", byte);
            text += line;
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (0x100 - sum % 256) % 256);
        text += line;
    }
    return text + ":00000001FF\r\n";
}
