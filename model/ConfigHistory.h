#pragma once

#include "model/ActionList.h"
#include "model/LightSettings.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

struct Configuration;
struct KeyMapChange;

// Undo and redo of the configuration's changes: a key confirmed in its settings dialog,
// Clear, Open, Load and the backlight dialog's OK. A step keeps only the parts its change
// touched, as they were on the other side of it, and undo and redo swap them with the
// configuration: a step costs the same however large the configuration is, and nothing is
// copied once it has been recorded. The lists a step keeps share their storage with the
// configuration's until one side changes them, so keeping every key's macro costs a count
// per list, not a copy of every step.
//
// The history also knows which key assignments the keyboard holds (those last written or
// loaded), so that after undo and redo the program's notWritten says whether they differ.
//
// How a change is recorded:
//
//     auto before = ConfigHistory::capture(state, ConfigHistory::Scope::everything());
//     state.resetKeyModel();
//     state.history.record(ConfigHistory::Change::Clear, std::move(before));
//
// and the backlight dialog's colours, after its OK:
//
//     const LightSettings before = state.lightSettings;
//     ... dialog.exec() == QDialog::Accepted ...
//     state.history.recordLights(state, before);
class ConfigHistory {
public:
    // The oldest steps are forgotten beyond this many; beyond KeptSteps also while all steps
    // together hold more than MaxBytes, so that changes of whole maximal configurations (tens
    // of MB each) cannot take the machine's memory.
    static constexpr int Depth = 100;
    static constexpr int KeptSteps = 50;
    static constexpr std::size_t MaxBytes = std::size_t(256) << 20;

    enum class Change { KeySettings, Clear, Open, Load, Lights };

    // The parts of the configuration a change may touch.
    struct Scope {
        std::vector<int> entries; // key * 2 + layer; all of them when allKeys
        bool allKeys = false;
        bool combos = false;
        bool macros = false;
        bool emulations = false;
        bool lights = false;

        static Scope everything();
        static Scope keysAndLights();
        static Scope lightsOnly();
        // One key on one or both layers, and the list of the page that was showing.
        static Scope of(const KeyMapChange &change);
    };

    // The parts a change will touch, copied before it happens. A list that the change sets
    // to what it already is needs no copy: `unchangedLists` names those.
    class Before {
    public:
        Before() = default;

    private:
        friend class ConfigHistory;
        struct Entry {
            int index = 0;
            int category = 0;
            int code = 0;
            ActionList action;
        };
        std::vector<Entry> entries;
        std::optional<ActionList> combos;
        std::optional<ActionList> macros;
        std::optional<ActionList> emulations;
        std::optional<LightSettings> lights;
        bool keys = false;
    };

    static Before capture(const Configuration &configuration, const Scope &scope);
    // Only what the key settings dialog's OK will really change.
    static Before capture(const Configuration &configuration, const KeyMapChange &change);

    // The change has happened: it becomes the newest step and the steps undone before it
    // are dropped.
    void record(Change change, Before &&before);
    // Lights changed by a dialog, given what they were before it; nothing is recorded when
    // they are the same.
    void recordLights(const Configuration &configuration, const LightSettings &before);

    // Runs `edit` and records it; an edit that returns a bool is recorded only when it
    // returns true.
    template<typename Edit>
    bool edit(Configuration &configuration, Change change, const Scope &scope, Edit &&edit)
    {
        Before before = capture(configuration, scope);
        if constexpr (std::is_void_v<std::invoke_result_t<Edit>>) {
            std::forward<Edit>(edit)();
        } else if (!std::forward<Edit>(edit)()) {
            return false;
        }
        record(change, std::move(before));
        return true;
    }

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    std::optional<Change> nextUndo() const;
    std::optional<Change> nextRedo() const;
    std::size_t size() const { return m_steps.size(); }
    // About how much memory the steps hold, and the most they may hold beyond KeptSteps.
    std::size_t bytes() const { return m_bytes; }
    void setMaxBytes(std::size_t bytes) { m_maxBytes = bytes; }

    // Steps back or forth and sets notWritten from what the keyboard holds; false when there
    // is nothing to undo or redo.
    bool undo(Configuration &configuration, bool &notWritten);
    bool redo(Configuration &configuration, bool &notWritten);

    // The keyboard now holds the key assignments as they are (written or just read).
    void markKeyboardHolds();
    // The keyboard holds none of the states of the history (a write stopped half-way): the
    // keys differ from it until the next markKeyboardHolds().
    void markKeyboardHoldsNone();
    // Whether the key assignments differ from those the keyboard holds.
    bool keysDifferFromKeyboard() const { return m_keys != m_keyboardKeys; }

    // Forgets every step; the keyboard is taken to hold what the configuration holds.
    void reset();

private:
    struct Step {
        Change change = Change::KeySettings;
        Before parts;
        std::uint64_t keysBefore = 0;
        std::uint64_t keysAfter = 0;
        std::size_t bytes = 0;
    };

    static void exchange(Before &parts, Configuration &configuration);
    static std::size_t footprint(const Before &parts);

    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps [0, m_done) can be undone, the rest redone
    std::size_t m_bytes = 0;
    std::size_t m_maxBytes = MaxBytes;
    // Versions of the key assignments: every change that touches keys makes a new one.
    std::uint64_t m_keys = 0;
    std::uint64_t m_lastVersion = 0;
    std::uint64_t m_keyboardKeys = 0;
};
