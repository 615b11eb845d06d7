#pragma once

#include "keymap/KeySettingsInput.h"
#include "keymap/WorkingList.h"
#include "model/KeyAssignment.h"
#include "model/KeyMapChange.h"
#include "model/KeyRecorder.h"

#include <array>
#include <vector>

class KeyCatalogue;

// The key settings dialog without its window: which page shows, what is chosen on each page,
// the working copies of the three predefined lists, and the steps of Default, Clear and OK.
// Built for the key and layer its input names; the input is only read.
class KeySettingsModel {
public:
    enum Page : int {
        SingleComboPage = 1,
        MacroPage = 2,
        EmulatePage = 3,
        MultimediaPage = 4,
        MousePage = 5,
        FunctionPage = 6,
        PowerPage = 7,
    };
    // At most one runs at a time; the editor starts them, every click stops them.
    using Recording = RecordingKind;

    static constexpr int FnCode = KeyMapChange::FnCode;
    static constexpr int NoCode = -1;

    // The opening state, from the key's category.
    explicit KeySettingsModel(const KeySettingsInput &input);

    int key() const { return m_key; }
    int layer() const { return m_layer; }
    int deviceType() const { return m_deviceType; }
    const KeyCatalogue &catalogue() const { return m_catalogue; }

    int page() const { return m_page; }
    // Pages outside 1..7 are ignored.
    void showPage(int page);

    bool singleMode() const { return m_singleMode; }
    void setSingleMode(bool single) { m_singleMode = single; }
    // The chosen single key as a virtual key (with the keypad Enter bit), -1 for none.
    int singleKey() const { return m_singleKey; }
    void setSingleKey(int virtualKey) { m_singleKey = virtualKey; }
    // The single key's device code, 0 when it has none.
    int singleKeyCode() const;

    // The chosen code of pages 4..7, NoCode for none (and for other pages).
    int chosenCode(int page) const;
    // A code button was clicked: it is chosen, or unchosen when it already was.
    void toggleCode(int page, int code);

    WorkingList &combos() { return m_lists[0]; }
    WorkingList &macros() { return m_lists[1]; }
    WorkingList &emulations() { return m_lists[2]; }
    const WorkingList &combos() const { return m_lists[0]; }
    const WorkingList &macros() const { return m_lists[1]; }
    const WorkingList &emulations() const { return m_lists[2]; }
    // The list a page edits, or null.
    WorkingList *listOfPage(int page);

    Recording recording() const { return m_recording; }
    bool isRecording() const { return m_recording != Recording::None; }
    void setRecording(Recording kind) { m_recording = kind; }
    // Starts a recording into the page's current entry, emptied first (a macro keeps its play
    // settings). False when there is nothing to record into: an empty list, or a combination
    // outside combo mode. The list is held until the recording stops: its selection stays on
    // that entry.
    bool startRecording(Recording kind);
    // One hook message for the running recording; nothing when none runs, and nothing when
    // the current entry is no longer the one the recording started in.
    KeyRecorder::Outcome hookMessage(std::uintptr_t wParam, std::intptr_t lParam,
                                     std::optional<std::uint32_t> eventTimeMs);
    // Ends the recording: a macro gets its final delay, the entry goes back into its list.
    void stopRecording();
    // How far the running recording has come, and going back there: the keys that stop a
    // recording are none of its steps.
    struct RecordingMark {
        int steps = 0;
        int singleKey = -1;
    };
    RecordingMark recordingMark();
    void rollBack(const RecordingMark &mark);
    // The current combination becomes these keys (picked on the virtual keyboard), at most six.
    void setCombinationCodes(const std::vector<int> &codes);

    // Shows the key's factory assignment without storing it.
    void restoreDefault();
    // Shows a code as Default does: a key, or the page of its kind; codes above 198 (other
    // than the ISO key's 204) change nothing.
    void showDefaultCode(int code);
    // Page 1, single mode, no key: OK then stores "Not set".
    void clear();
    // The OK steps: what the key becomes and which list goes back.
    KeyMapChange confirm() const;

private:
    void showCode(int page, int code);
    WorkingList *listOfRecording(Recording kind);
    // The entry a recording started in, where it is still the current one; else null.
    ActionList *recordedEntry();

    const KeyCatalogue &m_catalogue;
    int m_key;
    int m_layer;
    int m_deviceType;
    KeyAssignment m_original;
    int m_page = SingleComboPage;
    bool m_singleMode = true;
    int m_singleKey = -1;
    std::array<int, 4> m_codes{NoCode, NoCode, NoCode, NoCode}; // pages 4..7
    std::array<WorkingList, 3> m_lists;
    Recording m_recording = Recording::None;
    // Which entry the running recording fills: its list's index and serial at the start.
    int m_recordedIndex = -1;
    unsigned m_recordedSerial = 0;
    KeyRecorder m_recorder;
};
