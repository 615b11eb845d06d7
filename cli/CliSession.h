#pragma once

#include "cli/CliKeyboard.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "profile/FileStore.h"

#include <functional>
#include <memory>
#include <string>

class AppState;

// Runs one command of quillo-cli over the program's own core: catalogue, configuration,
// profile files, transfer operations and the device facade.
class CliSession {
public:
    // What the command prints goes to `output`, or to standard output when none is given.
    explicit CliSession(CliOptions options, CliOutput *output = nullptr);
    ~CliSession();

    // The exit status: 0 done, 1 failed (with one line on stderr). Output that could not be
    // written, to stdout or to the trace, is a failure too.
    int run();

private:
    int runCommand();
    void print(std::string_view text);
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
    // folder); false after saying why. `what` names the file: the profile or the picture.
    enum class OutputKind { Profile, Heatmap };
    bool outputReplaceable(const std::string &path, OutputKind what = OutputKind::Profile);
    bool failToSave(const std::string &path, const FileStore::WriteFailure &failure,
                    OutputKind what = OutputKind::Profile);
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

    // One line on stderr, control characters escaped: names in it may come from a profile.
    bool fail(const std::string &why);
    void note(const std::string &what);

    CliOptions m_options;
    std::unique_ptr<CliOutput> m_ownOutput;
    CliOutput &m_out;
    std::unique_ptr<AppState> m_state;
    CliKeyboard m_keyboard;
};
