#pragma once

#include "skin/DialogContext.h"

#include <QString>

class QFileDialog;
class QWidget;

// The file dialogs of the Save and Open commands: profiles end in ".pro". Where the desktop
// has no file dialog of its own, Qt's takes the program's language, look and fonts.
class ProfileFileDialog {
public:
    // The chosen path, or empty when the user cancelled. Saving asks before overwriting.
    static QString chooseSavePath(const DialogContext &context, QWidget *parent);
    static QString chooseOpenPath(const DialogContext &context, QWidget *parent);

    // Dresses Qt's own dialog: palette, fonts, a size for them, and its columns as wide as
    // what they show. Nothing for a desktop's dialog.
    static void dress(QFileDialog &dialog, const DialogContext &context);
};
