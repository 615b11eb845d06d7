#pragma once

#include <Qt>

#include <functional>

class KeySettingsModel;
class KeySettingsViews;

// The keyboard in the lists of the key settings dialog: Up, Down, Home and End move the
// selection one row at a time, scrolling no more than it takes to show the row.
class KeySettingsRowKeys {
public:
    enum : int {
        NotARow = -2, // the entry is no row of a list: the frame's own arrow keys apply
        Stays = -1,   // the key does not move the selection
    };

    // For the entry `id` of the page shown: moves the selection of its list and returns the
    // id of the row selected now, or NotARow or Stays. `beforeMove` runs just before the list
    // changes.
    static int press(KeySettingsModel &model, const KeySettingsViews &views, int id, Qt::Key key,
                     const std::function<void()> &beforeMove);
};
