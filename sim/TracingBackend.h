#pragma once

#include <quillodev/HidBackend.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

// Appends every report that crosses the cable to a file, one per line: "> " and the 65 bytes
// written, or "< " and the 64 payload bytes read, in lower-case hexadecimal.
class ReportTrace {
public:
    ~ReportTrace();
    // False when the file cannot be opened for appending.
    bool open(const std::string &path);
    void record(char direction, const unsigned char *bytes, unsigned int count);
    // Closes the file; false when this or any line before failed, with the system's reason.
    bool close(std::string &error);
    // The first line that could not be written so far: the system's reason, or nothing.
    std::string failure() const;

private:
    mutable std::mutex m_mutex;
    std::FILE *m_file = nullptr;
    std::string m_error; // the first failure
};

// A backend that hands out transports which copy every report to a trace.
class TracingBackend : public quillodev::HidBackend {
public:
    TracingBackend(std::shared_ptr<quillodev::HidBackend> inner,
                   std::shared_ptr<ReportTrace> trace);

    std::vector<std::wstring> interfacePaths() override;
    std::unique_ptr<CNuboUtil> open(const std::wstring &path) override;
    std::optional<quillodev::OpenProblem> openProblem(const std::wstring &path) override;

private:
    std::shared_ptr<quillodev::HidBackend> m_inner;
    std::shared_ptr<ReportTrace> m_trace;
};
