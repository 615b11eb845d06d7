#pragma once

#include "app/CNuboDlg.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include <memory>
#include <string>

namespace quillosim {
class SimKeyboard;
}

// The program as it stands right after its start, at scale 1.5 on an emulated keyboard: the
// skin library loaded as the start loads it (the main window's faces unpacked, every other
// face packed until a dialog asks for it), the catalogue built and, unless `mainWindow`
// is false (for the windows shown before it, which load the library as for no keyboard), the
// main window painted. Needs the QApplication.
class StartedProgram {
public:
    explicit StartedProgram(int variant, bool mainWindow = true);
    ~StartedProgram();
    StartedProgram(const StartedProgram &) = delete;
    StartedProgram &operator=(const StartedProgram &) = delete;

    // Empty when started.
    const std::string &error() const { return m_error; }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    FontTable fonts;
    SkinLibrary skins;
    std::unique_ptr<CNuboDlg> window;

private:
    std::string m_error;
};
