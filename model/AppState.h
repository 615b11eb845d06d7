#pragma once

#include "model/ConfigHistory.h"
#include "model/Configuration.h"
#include "model/KeyCatalogue.h"
#include "model/MultiKeyExchange.h"
#include "model/PressCounters.h"
#include "model/VirtualKeyPicks.h"

#include <quillodev/CNuboHWI.h>

#include <string>

// The one process-wide state: language, the attached variant, the whole editable
// configuration (the base), the last press counters and the device facade. Model code takes
// it by reference so that tests can have as many as they like; the windows below the main
// window get only the parts they need.
class AppState : public Configuration, public VirtualKeyPicks {
public:
    AppState() = default;
    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;

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
    // Undo and redo of the configuration.
    ConfigHistory history;
    PressCounters pressCounters;
    MultiKeyExchange multiKeyExchange;
    CNuboHWI hwi;

    bool chinese() const { return language == "zh-CN"; }

    // The configuration alone, as a profile stores it and undo steps through it.
    Configuration &configuration() { return *this; }
    const Configuration &configuration() const { return *this; }

    // Builds the catalogue; the start-up language is "zh-CN".
    void buildCatalogue();
    // Factory defaults of the current variant for keys, lists and lights.
    void resetKeyModel();
};
