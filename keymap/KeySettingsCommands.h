#pragma once

#include "keymap/KeySettingsModel.h"
#include "keymap/KeySettingsViews.h"

#include <functional>

class KeySettingsEditor;
struct VirtualKeyPicks;

// What a click on an entry of the key settings dialog does, by the entry's id: page tabs,
// Default, Clear, the mode radios, the virtual keyboard, the Record buttons, the editor's
// buttons, list rows and code buttons. What only the window can do it asks of `Window`.
class KeySettingsCommands {
public:
    struct Window {
        std::function<void()> ok;
        std::function<void()> cancel;
        // The virtual keyboard run in a pick mode: its modal result.
        std::function<int(int pickMode)> virtualKeyboard;
        // A capture or recording started by its Record button, and the running one stopped.
        std::function<void(int recordButtonId)> record;
        std::function<void()> stopRecording;
        // An open in-place edit taken over; false when none was open.
        std::function<bool()> commitEdit;
        std::function<KeySettingsEditor &()> editor;
    };

    KeySettingsCommands(KeySettingsModel &model, const KeySettingsViews &views,
                        VirtualKeyPicks &picks, Window window);

    // A click on `id` as the dialog takes it: an open in-place edit is committed first, a
    // running capture or recording stopped, and the click itself then only counts if it ends
    // the dialog. False when it was taken by one of those.
    bool click(int id);
    // Runs what `id` does; false when it does nothing.
    bool run(int id);

private:
    using Handler = void (KeySettingsCommands::*)(int id);
    static Handler handlerOf(int id);

    void onTab(int id);
    void onDefault(int id);
    void onClear(int id);
    void onOk(int id);
    void onCancel(int id);
    void onSingleMode(int id);
    void onVirtualSingleKey(int id);
    void onVirtualComboKeys(int id);
    void onRecord(int id);
    void onEditorButton(int id);
    void onEntryRow(int id);
    void onStepRow(int id);
    void onCodeButton(int id);

    KeySettingsModel &m_model;
    const KeySettingsViews &m_views;
    VirtualKeyPicks &m_picks;
    Window m_window;
};
