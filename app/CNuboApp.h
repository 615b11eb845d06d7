#pragma once

#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include <functional>
#include <memory>

class AppState;
class CNuboDlg;
class SkinPreload;

// The program from start to end: finds the attached variant, loads its skins, builds the key
// catalogue and runs the main window until it closes. Constructed after the QApplication, with
// the one AppState of the process.
class CNuboApp {
public:
    explicit CNuboApp(AppState &state);
    ~CNuboApp();
    CNuboApp(const CNuboApp &) = delete;
    CNuboApp &operator=(const CNuboApp &) = delete;

    // The process exit code: 0 after the main window ran, 1 when the program could not start.
    int run();

    // Nobody at the screen: messages go to the error output instead of boxes, and the
    // main window's questions are answered No.
    void setUnattended(bool unattended) { m_unattended = unattended; }
    // Called with the main window before it starts.
    void setMainWindowHook(std::function<void(CNuboDlg &)> hook) { m_hook = std::move(hook); }

    const FontTable &fonts() const { return m_fonts; }
    // Skins loaded meanwhile, taken when they are the attached variant's.
    void setPreload(SkinPreload *preload) { m_preload = preload; }

    const SkinLibrary &skins() const { return *m_skins; }

    // Where the skin library is taken from: beside the program, else the installed data folder.
    static QString skinFolder();

private:
    // After the main window's first frames.
    static constexpr int IdleUnpackDelayMs = 300;
    void unpackSkinsWhenIdle(QObject &window);
    // Says so when the keyboard found is there but this user may not open it.
    void reportOpenProblem() const;
    void fail(const QString &text) const;

    AppState &m_state;
    FontTable m_fonts;
    std::unique_ptr<SkinLibrary> m_skins = std::make_unique<SkinLibrary>();
    SkinPreload *m_preload = nullptr;
    std::function<void(CNuboDlg &)> m_hook;
    bool m_unattended = false;
};
