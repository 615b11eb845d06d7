#include "app/CNuboApp.h"
#include "app/SkinPreload.h"
#include "model/AppState.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Only what a manual page and a packager ask for; everything else is Qt's (-platform ...).
bool answeredOnTheCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(
                "Usage: quillo [--help] [--version]\n"
                "Configures Quillo keyboards: what every key does on its two layers (a single\n"
                "key, a combination, a macro, a repeated key, a multimedia, mouse, keyboard or\n"
                "power function), the per-key backlight colours, profiles, press counters and\n"
                "firmware updates.\n"
                "\n"
                "Quillo looks for an attached Quillo keyboard (Quillo(RGB)BLe, Quillo(S)BLe,\n"
                "Quillo(S) or Quillo(RGB)), waiting about eleven seconds for one, and opens its\n"
                "window. The window starts in Chinese; its language button switches to English.\n"
                "\n"
                "  -h, --help     show this text and exit\n"
                "  --version      show the version and exit\n"
                "\n"
                "The keyboard is opened through its hidraw node (/dev/hidraw*); the udev rule\n"
                "70-quillo.rules installed with Quillo gives the user logged in at the computer\n"
                "access to it. quillo-sim runs Quillo against an emulated keyboard, quillo-cli\n"
                "does the same work from scripts.\n",
                stdout);
            return true;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::fputs("quillo " QUILLO_VERSION "\n", stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredOnTheCommandLine(argc, argv))
        return 0;
    // The one state of the process exists before the application runs.
    const auto state = std::make_unique<AppState>();
    SkinPreload skins([&state] { return state->hwi.DetectDeviceType(); }, CNuboApp::skinFolder());
    QApplication application(argc, argv);
    CNuboApp quillo(*state);
    quillo.setPreload(&skins);
    return quillo.run();
}
