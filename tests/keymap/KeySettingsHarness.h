#pragma once

#include "app/AppState.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A key settings dialog whose virtual keyboard is answered by the test.
class ScriptedKeySettings : public CNuboDialogKeyMapSettings {
public:
    using CNuboDialogKeyMapSettings::CNuboDialogKeyMapSettings;
    using CNuboDialogKeyMapSettings::table;

    // Answer of the next virtual keyboard: the code picked, or nothing for Cancel.
    std::optional<int> virtualAnswer;
    int virtualModes = 0; // pick modes asked for, one digit each

protected:
    int runVirtualKeyboard(int pickMode) override
    {
        virtualModes = virtualModes * 10 + pickMode;
        if (!virtualAnswer)
            return QDialog::Rejected;
        state().virtualPick = *virtualAnswer;
        return QDialog::Accepted;
    }
};

// A state as the main window leaves it for a key, and the built skins of the variant.
struct KeySettingsFixture {
    explicit KeySettingsFixture(int deviceType = 4, const char *language = "en-US", int key = 5,
                                int layer = 0);

    // A dialog opened for the state's key as it is now.
    std::unique_ptr<ScriptedKeySettings> open();

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
// Mouse events at a client point of a widget.
void moveMouse(QWidget &widget, QPoint point);
void pressAndRelease(QWidget &widget, QPoint point);
void doubleClick(QWidget &widget, QPoint point);
// The window as the desktop shows it, the colour key transparent, in test-artefacts/.
bool saveArtefact(QWidget &window, unsigned int colourKey, const QString &name);
// A list of entries n0, n1, ... of one step each.
ActionList namedList(int count, int rows, const std::string &stepPrefix = "S");
// Runs the event loop until the condition holds or the time is up; whether it held.
bool waitUntil(const std::function<bool()> &condition, int ms = 2000);
