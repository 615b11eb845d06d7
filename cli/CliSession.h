#pragma once

#include "cli/CliKeyboard.h"
#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliProfiles.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class AppState;
class QJsonObject;

// Runs one command of quillo-cli over the program's own core: catalogue, configuration,
// profile files, transfer operations and the device facade.
class CliSession {
public:
    // What the command prints goes to `output`, or to standard output when none is given.
    explicit CliSession(CliOptions options, CliOutput *output = nullptr);
    ~CliSession();

    // The exit status: 0 done, 1 a file or data failed, 2 bad usage, 3 the keyboard (diff: 0
    // equal, 1 different, 2 trouble). Output that could not be written, to stdout or to the
    // trace, is a failure too. With --json a failure is answered in JSON on stdout as well.
    int run();

private:
    bool runCommand();
    void print(std::string_view text);
    // The JSON document of the command, with the notes said on the way.
    void answer(const QJsonObject &document);

    // The attached keyboard's variant into the state and the device opened; false after
    // saying why.
    bool openKeyboard();
    // The command's IN into `into`: as the model it names (--variant overrides it), or for
    // write and sync as the attached keyboard's model.
    bool loadInput(const std::string &path, AppState &into);
    bool writeToKeyboard();
    bool readFromKeyboard();

    bool detect();
    bool version();
    bool show();
    bool diff();
    bool counters();
    bool saveCommand(); // defaults, convert, write, read and sync
    // A profile edited (set, lights): IN read, the edit applied (refused with exit 2), OUT
    // written.
    bool editProfile(const std::function<std::string()> &edit);
    bool downloadFirmware();
    // The keyboard's keys and lights into a backup profile.
    bool backUpKeyboard(std::string &savedIn);

    CliOptions m_options;
    std::unique_ptr<CliOutput> m_ownOutput;
    CliOutput &m_out;
    CliMessages m_messages;
    CliProfiles m_profiles;
    std::unique_ptr<AppState> m_state;
    CliKeyboard m_keyboard;
    bool m_printed = false;
    bool m_differ = false; // diff found differences
};
