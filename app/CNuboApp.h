#pragma once

#include "skin/DialogContext.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include <functional>
#include <memory>

class AppState;
class CNuboDlg;
class SearchingDialog;
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
    // Called with the window that says it is looking for a keyboard, before it runs.
    void setSearchHook(std::function<void(SearchingDialog &)> hook)
    {
        m_searchHook = std::move(hook);
    }
    // Asks, when no keyboard was found, which model to work offline for (0: none, the
    // program ends); by default the offer's message box.
    void setOfflineChoice(std::function<int()> choose) { m_offlineChoice = std::move(choose); }

    const FontTable &fonts() const { return m_fonts; }
    // Skins loaded meanwhile, taken when they are the attached variant's.
    void setPreload(SkinPreload *preload) { m_preload = preload; }

    const SkinLibrary &skins() const { return *m_skins; }

    // Where the skin library is taken from: beside the program, else the installed data folder.
    static QString skinFolder();

private:
    enum class Search { Found, NotFound, Cancelled, Failed };
    // The attached variant into the state: at once, or looked for in the searching window.
    Search findKeyboard();
    // The skins of a variant, unless those loaded already serve it; false after saying why.
    bool loadSkins(int deviceType);
    // Says so when the keyboard found is there but this user may not open it.
    void reportOpenProblem() const;
    void fail(const QString &text) const;
    // What the boxes shown before any window read: the start language, the screen's scale.
    DialogContext startContext() const;

    AppState &m_state;
    FontTable m_fonts;
    std::unique_ptr<SkinLibrary> m_skins = std::make_unique<SkinLibrary>();
    SkinPreload *m_preload = nullptr;
    std::function<void(CNuboDlg &)> m_hook;
    std::function<void(SearchingDialog &)> m_searchHook;
    std::function<int()> m_offlineChoice;
    int m_skinsFor = -1; // the variant whose skins are loaded; 0 counts as 1
    bool m_unattended = false;
};
