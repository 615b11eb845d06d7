#pragma once

#include "cli/CliKeyboard.h"
#include "cli/CliOptions.h"
#include "profile/FileStore.h"

#include <functional>
#include <memory>
#include <string>

class AppState;

// Runs one command of quillo-cli over the program's own core: catalogue, configuration,
// profile files, transfer operations and the device facade.
class CliSession {
public:
    explicit CliSession(CliOptions options);
    ~CliSession();

    // The exit status: 0 done, 1 failed (with one line on stderr).
    int run();

private:
    // The attached keyboard's variant into the state and the device opened; false after
    // saying why.
    bool openKeyboard();
    // Says why no keyboard can be used: none attached, or which node cannot be opened and
    // what gives access to it. Always false.
    bool failWithoutKeyboard();
    // --variant, else the attached keyboard's; false after saying why.
    bool chooseProfileVariant();
    bool loadProfile(const std::string &path);
    bool loadProfile(const std::string &path, AppState &into);
    bool saveProfile(const std::string &path);
    // Whether a save to `path` would be refused for what the path is (a device, a pipe, a
    // folder); false after saying why.
    bool outputReplaceable(const std::string &path);
    bool failToSave(const std::string &path, const FileStore::WriteFailure &failure);
    bool writeToKeyboard();
    bool readFromKeyboard();
    bool downloadFirmware();

    int detect();
    int version();
    int show();
    int diff();
    int counters();
    int set();
    int lights();
    // A profile edited: IN read, the edit applied (refused with exit 2), OUT written.
    int editProfile(const std::function<std::string()> &edit);
    bool writeHeatmap(const std::string &path);
    // The keyboard's keys and lights into a backup profile, named on stdout.
    bool backUpKeyboard(std::string &savedIn);

    bool fail(const std::string &why);

    CliOptions m_options;
    std::unique_ptr<AppState> m_state;
    CliKeyboard m_keyboard;
};
