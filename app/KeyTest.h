#pragma once

#include <quillodev/KeyCounts.h>

#include <bitset>
#include <string>

class KeyCatalogue;

// What a key test has seen of the 108 keys: the keys held down now, the keys pressed and
// released at least once, and the last key. Keys come as the recorder's HookKeyCodes and are
// found on the drawing by what a key sends out of the factory, on either layer, so that the
// keypad, the right-hand modifiers, keypad Enter and the media keys each light their own cap.
class KeyTest {
public:
    static constexpr int KeyCount = quillodev::KeyCount;

    // The key of the drawing (1..108) that sends the HookKeyCode, or 0 when the keyboard has
    // no such key.
    static int keyOfHookKey(const KeyCatalogue &catalogue, int hookKey);

    void reset();
    // A press or release; the key number whose look changed, or 0. A press of a key held
    // already (auto-repeat) and a release of a key never pressed change nothing.
    int press(const KeyCatalogue &catalogue, int hookKey);
    int release(const KeyCatalogue &catalogue, int hookKey);
    // A key the window system knows but the hook has no code for.
    void unknownKey();
    // Every key held counts as released (the window lost the keyboard); returns whether any was.
    bool releaseAll();

    bool isPressed(int key) const { return valid(key) && m_pressed[std::size_t(key)]; }
    bool isTested(int key) const { return valid(key) && m_tested[std::size_t(key)]; }
    int testedCount() const { return int(m_tested.count()); }
    int lastKey() const { return m_lastKey; }

    // The report box's text while the test runs, CR LF line ends.
    std::string report(const KeyCatalogue &catalogue, bool chinese) const;

private:
    static bool valid(int key) { return key >= 1 && key <= KeyCount; }

    std::bitset<KeyCount + 1> m_pressed;
    std::bitset<KeyCount + 1> m_tested;
    int m_lastHookKey = -1; // -1: none yet
    int m_lastKey = 0;
    bool m_lastUnknown = false;
};
