#pragma once

#include <QString>

class QMimeData;

// What a drop on the main window asks for: one profile to open, as Open would, or a refusal
// that names what was dropped.
class ProfileDrop {
public:
    struct Outcome {
        QString path;    // the profile to open; empty when refused
        QString refusal; // the message naming the refused files
    };

    // True when the drag carries local files: only those are worth a drop cursor.
    static bool carriesFiles(const QMimeData &data);
    static Outcome read(const QMimeData &data, bool chinese);
};
