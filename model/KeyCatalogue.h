#pragma once

#include <array>
#include <string>
#include <unordered_map>

// The vocabulary of keys and codes: names of virtual and pseudo keys, virtual key <-> device
// code, category names and the factory assignments of the four variants. Built on
// construction, then read-only; all texts are UTF-8.
class KeyCatalogue {
public:
    static constexpr int TableSize = 1024;
    static constexpr const char *NoName = "-- --";
    static constexpr int CategoryCount = 9;

    KeyCatalogue() { build(); }

    // Fills every table; calling it again rebuilds the same tables.
    void build();
    bool isBuilt() const { return m_built; }

    // Device code of a virtual key or HookKeyCode (masked to 9 bits); -1 for negative input.
    int codeOfKey(int key) const;
    // Virtual key of a device code; -1 for negative input, 0 for codes beyond the table.
    int keyOfCode(int code) const;
    // Name of a code's virtual key, NoName when it has none or the code is negative.
    std::string nameOfCode(int code) const;
    // Name-table entry of a key, or null when it has none.
    const std::string *nameOfKey(int key) const;
    // Lowest key carrying exactly this name, or -1.
    int keyOfName(const std::string &name) const;

    static int defaultCode(int deviceType, int key, int layer);
    static int categoryOfCode(int code);
    // "" for an index outside 0..8.
    static const char *categoryName(int category, bool chinese);

private:
    std::array<std::string, TableSize> m_names;
    std::array<bool, TableSize> m_hasName{};
    std::array<int, TableSize> m_forward{};
    std::array<int, TableSize> m_reverse{};
    std::unordered_map<std::string, int> m_keyOfName;
    bool m_built = false;
};
