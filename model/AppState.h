#pragma once

#include "app/ConfigHistory.h"
#include "jobs/DeviceWorker.h"
#include "keymap/ActionList.h"
#include "keymap/KeyAssignment.h"
#include "keymap/KeyCatalogue.h"
#include "lighting/LightSettings.h"

#include <quillodev/CNuboHWI.h>

#include <array>
#include <string>

struct PressCounters {
    static constexpr int NotRead = -926365496; // all four bytes 0xC8
    std::array<int, 109> counts;               // index = key number; negative: not read
    int highestKey = -1;
    int lowestKey = -1;

    PressCounters() { reset(); }
    void reset()
    {
        counts.fill(NotRead);
        highestKey = lowestKey = -1;
    }
    // Finds the most and the least pressed key among those pressed at all; ties go to the
    // smaller key number, and -1 means no key was pressed.
    void updateExtremes();
};

// Exchange between the backlight dialog and the multi-key colour dialog.
struct MultiKeyExchange {
    std::array<bool, 109> selectedKeys{};
    LightSettings colours{};
    LightColour chosenColour;
};

// The one process-wide state: language, the attached variant, the whole editable
// configuration, the last press counters and the device facade. Model code takes it by
// reference so that tests can have as many as they like.
class AppState {
public:
    AppState() = default;
    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;

    static constexpr int KeyCount = 108;
    static constexpr int EntryCount = 218;
    // Per-key arrays are indexed key * 2 + layer; entries 0 and 1 are unused.
    static constexpr int index(int key, int layer) { return key * 2 + layer; }

    std::string language;
    int deviceType = 0;
    // No keyboard: the user works on profiles of the chosen variant; device commands refuse.
    bool offline = false;
    bool notWritten = false;
    bool clickBlocked = false;
    float scaleFactor = 0.0f;
    KeyCatalogue catalogue;
    int currentKey = 0;
    int currentLayer = 0;
    ActionList predefinedMacros{9};
    ActionList predefinedCombos{6};
    ActionList predefinedEmulations{9};
    LightSettings lightSettings{};
    std::array<int, EntryCount> category{};
    std::array<int, EntryCount> code{};
    std::array<ActionList, EntryCount> action{};
    // Undo and redo of the configuration above.
    ConfigHistory history;
    PressCounters pressCounters;
    MultiKeyExchange multiKeyExchange;
    int virtualPick = 0;
    std::array<int, 6> virtualPicks{};
    int virtualPickCount = 0;
    CNuboHWI hwi;
    std::wstring firmwarePath;
    WindowHandle firmwareWindow = nullptr;
    // The thread of a device job or download; declared last so that it is waited for before
    // the facade goes away.
    DeviceWorker deviceWorker;

    bool chinese() const { return language == "zh-CN"; }

    // One key's assignment gathered from the three arrays, and stored back into them. Keys
    // outside 1..108 or layers other than 0 and 1 read as not set and are not stored.
    KeyAssignment assignment(int key, int layer) const;
    void setAssignment(int key, int layer, const KeyAssignment &value);

    // Builds the catalogue; the start-up language is "zh-CN".
    void buildCatalogue();
    // Factory defaults of the current variant for keys, lists and lights.
    void resetKeyModel();
};
