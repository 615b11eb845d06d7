#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;
class SkinLibrary;

// What the main window's device commands need of the window they run in: where their dialogs
// open and the window's faces, its messages and questions, and its own reactions (saving the
// configuration, a device that came or went, refusing device commands while offline).
class CommandWindow {
public:
    virtual ~CommandWindow() = default;

    virtual QWidget *commandOwner() = 0;
    virtual const SkinLibrary *commandSkins() const = 0;
    virtual void tellUser(const QString &caption, const QString &text, QMessageBox::Icon icon) = 0;
    virtual bool askUser(const QString &caption, const QString &text) = 0;
    virtual void saveConfiguration() = 0;
    virtual void keyboardChanged() = 0;
    // Offline the device commands say the keyboard is not connected; true when one was refused.
    virtual bool refusesDeviceCommand() = 0;
};
