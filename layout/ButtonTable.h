#pragma once

#include "layout/DrawnButton.h"

#include <cstddef>
#include <functional>
#include <vector>

// Codes answered by the frame's hit-test: over a button, a free spot that drags the window,
// and the right, bottom and corner strips that the frame leaves to the platform.
enum FrameHitCode : int {
    HitClient = 1,
    HitCaption = 2,
    HitRight = 11,
    HitBottom = 15,
    HitBottomRight = 17,
};

// A skinned dialog's fixed-size table of drawn buttons and labels. Painting runs from the
// first entry to the last; hit-testing takes the first matching entry.
class ButtonTable {
public:
    explicit ButtonTable(std::size_t size);

    std::size_t size() const { return m_entries.size(); }
    DrawnButton &operator[](std::size_t index) { return m_entries[index]; }
    const DrawnButton &operator[](std::size_t index) const { return m_entries[index]; }
    std::vector<DrawnButton>::iterator begin() { return m_entries.begin(); }
    std::vector<DrawnButton>::iterator end() { return m_entries.end(); }
    std::vector<DrawnButton>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<DrawnButton>::const_iterator end() const { return m_entries.end(); }

    // Copies the entries of a layout function into the table; surplus entries are dropped,
    // missing ones become empty slots. Returns false when entries had to be dropped.
    bool assign(const std::vector<DrawnButton> &entries);

    // Entries a dialog shows at the moment (a paged dialog shows one page); empty: all of them.
    using EntryFilter = std::function<bool(const DrawnButton &)>;

    // Index of the first entry with an id of 1 or more, not a label, holding the point; -1 if none.
    int firstHit(int x, int y, const EntryFilter &shown = {}) const;
    // Index of the first entry with this id or key number; -1 if none.
    int indexOfId(int id) const;
    int indexOfKey(int keyIndex) const;

    // Converts every non-label rectangle (empty slots included) to client pixels.
    void scaleToClient(float scale);
    // Where entry `index` draws its caption, in base pixels (CaptionPlace), as the table was
    // before it was scaled.
    ButtonRect captionPlace(std::size_t index) const;
    static ButtonRect toClient(const ButtonRect &base, float scale);
    // A client rectangle back in base pixels: origin and size are each divided and truncated.
    static ButtonRect toBase(const ButtonRect &client, float scale);

    // Sets `hovered` from a client point and returns the rectangles whose state changed.
    // Entries not shown are never hovered.
    std::vector<ButtonRect> updateHover(int x, int y, const EntryFilter &shown = {});

    // The frame's answer for a point that holds no button (overButton false) or does.
    static FrameHitCode frameHitCode(bool overButton, int x, int y, int width, int height);

private:
    std::vector<DrawnButton> m_entries;
    std::vector<ButtonRect> m_captionPlaces; // kept when the table is scaled
};
