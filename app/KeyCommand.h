#pragma once

#include "model/KeyMapChange.h"
#include "skin/DialogContext.h"

#include <functional>

class AppState;
class CNuboDialogKeyMapSettings;
class SkinLibrary;
class QWidget;

// The main window's key command: a click on key k opens the key settings dialog for k on the
// layer shown; OK stores what the dialog decided and marks the configuration as not written.
class KeyCommand {
public:
    KeyCommand(AppState &state, const DialogContext &context, const SkinLibrary *skins = nullptr);

    // Where the dialog's faces come from; without a library the faces are blank.
    void setSkins(const SkinLibrary *skins) { m_skins = skins; }

    // Runs the dialog over `owner`; true when the key was confirmed with OK.
    bool run(QWidget *owner, int key);
    // Called with the dialog after its set-up, before it runs (tests script it from here).
    void setDialogHook(std::function<void(CNuboDialogKeyMapSettings &)> hook)
    {
        m_hook = std::move(hook);
    }

    // The one place a confirmed key reaches the configuration; it can be undone.
    void store(const KeyMapChange &change);

private:
    AppState &m_state;
    const DialogContext m_context;
    const SkinLibrary *m_skins;
    std::function<void(CNuboDialogKeyMapSettings &)> m_hook;
};
