#pragma once

#include <string>
#include <vector>

// What a command tells besides its output: notes and the failure, one line each on stderr
// with control characters escaped (names in them may come from a profile), and the exit status
// of the first failure. Notes are kept for a JSON answer too.
class CliMessages {
public:
    // Exit statuses, the same for every command (diff keeps diff(1)'s own).
    enum Status {
        Done = 0,
        Failed = 1,   // a file or its data
        BadUsage = 2, // an unknown command, option, key or name
        Keyboard = 3, // none attached, no access, unplugged, no answer
    };

    // Says why on stderr; the first failure decides the status. Always false.
    bool fail(const std::string &why, Status status = Failed);
    void note(const std::string &what);

    bool failed() const { return m_status != Done; }
    Status status() const { return m_status; }
    const std::string &failure() const { return m_failure; }
    const std::vector<std::string> &notes() const { return m_notes; }

private:
    Status m_status = Done;
    std::string m_failure;
    std::vector<std::string> m_notes;
};
