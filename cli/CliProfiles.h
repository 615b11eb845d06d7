#pragma once

#include "cli/CliMessages.h"
#include "profile/FileStore.h"

#include <string>

class AppState;
class CliOutput;

// Profiles as quillo-cli reads and writes them: from a file or standard input ("-"), as the
// model their root names unless another is asked for, to a file or standard output ("-"),
// replaced as a whole. Failures are said through `messages`.
class CliProfiles {
public:
    enum class Model {
        Named,    // the model the root names; `model`, when given, overrides it with a note
        Required, // `model` (the attached keyboard's); a profile of another one is refused
    };
    enum class OutputKind { Profile, Heatmap };

    CliProfiles(CliMessages &messages, CliOutput &output, bool lenient);

    // Replaces `into` (its deviceType too) with the profile at `path`; false after saying why.
    bool load(const std::string &path, AppState &into, Model rule, int model);
    bool save(const std::string &path, const AppState &state);
    // Whether `path` can be written now (always for standard output); false after saying why.
    bool checkOutput(const std::string &path, OutputKind kind = OutputKind::Profile);
    bool failToSave(const std::string &path, const FileStore::WriteFailure &failure,
                    OutputKind kind = OutputKind::Profile);

private:
    CliMessages &m_messages;
    CliOutput &m_output;
    bool m_lenient;
};
