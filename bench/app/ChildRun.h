#pragma once

#include <optional>
#include <string>
#include <vector>

// One run of a program as the footprint runner measures it, without Qt: the runner must stay
// small, since the kernel counts the memory a parent holds at the exec into the child's peak
// (fork and vfork alike), and a large runner would show as every child's peak.

// What /proc/PID/status says of a process's memory, in KiB.
struct ProcMemory {
    long rss = 0;   // VmRSS
    long hwm = 0;   // VmHWM: the peak of VmRSS so far
    long anon = 0;  // RssAnon
    long file = 0;  // RssFile
    long shmem = 0; // RssShmem
};

// The fields of a /proc/PID/status text; nothing when VmRSS is missing (a zombie has none).
std::optional<ProcMemory> parseProcStatus(const std::string &text);

struct ChildRun {
    bool ok = false;
    std::string error;          // why not ok: could not start, exit code, timeout, no painted line
    double paintedSeconds = -1; // from the start to the line that says the window painted
    double exitSeconds = -1;    // from the start to the end of the process
    long peakKiB = 0;           // the kernel's peak resident memory of the child (ru_maxrss)
    // Whether peakKiB is the child's own: above the runner's peak at the start, which the
    // kernel counts in.
    bool peakKnown = false;
    // /proc/PID/status at each asked-for moment after the painted line, in that order.
    std::vector<ProcMemory> samples;
    std::string output; // the child's standard output (its first 1 MiB)
};

struct ChildOptions {
    // Extra variables for the child, NAME=VALUE, over the runner's own environment.
    std::vector<std::string> environment;
    // Seconds after the painted line at which to read the child's memory, rising.
    std::vector<double> samplesAfterPaint;
    // The child is killed past this, and the run fails.
    double timeoutSeconds = 60;
    // Whether the run needs the line that says the window painted.
    bool expectPainted = true;
};

// Runs `argv` (argv[0] a path) to its end, its output read for a line containing "painted";
// the run succeeds when the child exited with 0, having printed that line if expected. The
// child's error output is kept and returned in `error` when the run fails.
ChildRun runChild(const std::vector<std::string> &argv, const ChildOptions &options = {});

// The middle value, or the mean of the two middle ones; 0 for none.
double median(std::vector<double> values);
