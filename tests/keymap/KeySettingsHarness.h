#pragma once

#include "StateInput.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "model/AppState.h"
#include "model/VirtualKeyPicks.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"
#include "tests/support/Artefacts.h"
#include "tests/support/TestEvents.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A key settings dialog whose virtual keyboard, step menu and messages are answered by the
// test.
class ScriptedKeySettings : public CNuboDialogKeyMapSettings {
public:
    using CNuboDialogKeyMapSettings::captionRect;
    using CNuboDialogKeyMapSettings::CNuboDialogKeyMapSettings;
    using CNuboDialogKeyMapSettings::table;

    // Answer of the next virtual keyboard: the code picked (mode 1) or the codes picked
    // (mode 2), or nothing for Cancel.
    std::optional<int> virtualAnswer;
    std::optional<std::vector<int>> virtualCodes;
    int virtualModes = 0; // pick modes asked for, one digit each
    int menuAnswer = 0;   // the step menu's item
    int menusRun = 0;
    std::vector<QString> unknownKeys; // messages about keys the keyboard lacks
    bool showsMessages = false;       // the dialog's own message boxes come up

protected:
    int runVirtualKeyboard(int pickMode) override
    {
        virtualModes = virtualModes * 10 + pickMode;
        if (pickMode == 2 && virtualCodes) {
            picks().virtualPickCount = int(virtualCodes->size());
            for (std::size_t i = 0; i < virtualCodes->size() && i < 6; ++i)
                picks().virtualPicks[i] = (*virtualCodes)[i];
            return QDialog::Accepted;
        }
        if (!virtualAnswer)
            return QDialog::Rejected;
        picks().virtualPick = *virtualAnswer;
        return QDialog::Accepted;
    }
    int runStepMenu(const QPoint &) override
    {
        ++menusRun;
        return menuAnswer;
    }
    void showUnknownKey(const QString &text) override
    {
        unknownKeys.push_back(text);
        if (showsMessages)
            CNuboDialogKeyMapSettings::showUnknownKey(text);
    }
};

// The library's global hook, faked: counts its calls, and either takes the keyboard (giving
// the test the window it posts to) or fails as without access to the input devices.
struct FakeHook {
    static inline int installs = 0;
    static inline int uninstalls = 0;
    static inline bool installWorks = true;
    static inline WindowHandle window = nullptr;
    static bool install(WindowHandle target)
    {
        ++installs;
        window = target;
        return installWorks;
    }
    static bool uninstall()
    {
        ++uninstalls;
        return true;
    }
    static RecordingHook::GlobalHook hook(bool works)
    {
        installs = uninstalls = 0;
        installWorks = works;
        window = nullptr;
        return {&install, &uninstall};
    }
};

// A state as the main window leaves it for a key, and the built skins of the variant.
struct KeySettingsFixture {
    explicit KeySettingsFixture(int deviceType = 4, const char *language = "en-US", int key = 5,
                                int layer = 0);

    // A dialog opened for the state's key as it is now.
    std::unique_ptr<ScriptedKeySettings> open();
    DialogContext context() const { return {state->language, state->scaleFactor, fonts}; }

    std::unique_ptr<AppState> state;
    FontTable fonts;
    SkinLibrary skins;
    bool skinsLoaded = false;
};

// Entries of a dialog by id.
DrawnButton &entryOf(CNuboDialogKeyMapSettings &dialog, int id);
// Ids of the hittable entries the dialog shows at the moment, of one page (or all with 0).
std::vector<int> shownButtons(CNuboDialogKeyMapSettings &dialog, int page);
// The centre of an entry in client pixels.
QPoint centreOf(CNuboDialogKeyMapSettings &dialog, int id);
// A list of entries n0, n1, ... of one step each.
ActionList namedList(int count, int rows, const std::string &stepPrefix = "S");
