#pragma once

#include <QString>

class QWidget;

// The file dialogs of the Save and Open commands: profiles end in ".pro".
class ProfileFileDialog {
public:
    // The chosen path, or empty when the user cancelled. Saving asks before overwriting.
    static QString chooseSavePath(QWidget *parent);
    static QString chooseOpenPath(QWidget *parent);
};
