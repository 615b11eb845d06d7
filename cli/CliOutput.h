#pragma once

#include <string>
#include <string_view>

// Standard output as quillo-cli writes it: unbuffered, every write checked, and the descriptor
// closed at the end and that checked too, so that a full disk or a closed pipe is a failure
// with its reason rather than a cut-off document and status 0.
class CliOutput {
public:
    explicit CliOutput(int fd);
    CliOutput(const CliOutput &) = delete;
    CliOutput &operator=(const CliOutput &) = delete;

    // Writes all of `text`; after the first failure nothing more is tried.
    void write(std::string_view text);
    // Closes the descriptor; false when this or any earlier write failed.
    bool finish();
    bool failed() const { return !m_error.empty(); }
    // "No space left on device"; empty while nothing failed.
    const std::string &error() const { return m_error; }

private:
    int m_fd;
    bool m_finished = false;
    std::string m_error;
};
