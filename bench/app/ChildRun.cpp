#include "ChildRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t OutputLimit = 1 << 20;
constexpr std::size_t ErrorLimit = 1 << 14;

Clock::duration seconds(double value)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(value));
}

double secondsSince(Clock::time_point begin)
{
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

std::vector<std::string> childEnvironment(const std::vector<std::string> &extra)
{
    std::map<std::string, std::string> variables;
    std::vector<std::string> order;
    const auto put = [&](const std::string &entry) {
        const std::string name = entry.substr(0, entry.find('='));
        if (variables.emplace(name, entry).second)
            order.push_back(name);
        else
            variables[name] = entry;
    };
    for (char **at = environ; *at; ++at)
        put(*at);
    for (const std::string &entry : extra)
        put(entry);
    std::vector<std::string> result;
    for (const std::string &name : order)
        result.push_back(variables[name]);
    return result;
}

std::optional<ProcMemory> readMemory(const std::string &process)
{
    std::ifstream in("/proc/" + process + "/status");
    std::stringstream text;
    text << in.rdbuf();
    return parseProcStatus(text.str());
}

// Closes both ends of a pipe pair that are still open.
struct Pipe {
    int fd[2] = {-1, -1};
    ~Pipe()
    {
        for (int &end : fd) {
            if (end >= 0)
                close(end);
        }
    }
    void closeEnd(int which)
    {
        if (fd[which] >= 0)
            close(fd[which]);
        fd[which] = -1;
    }
};

} // namespace

std::optional<ProcMemory> parseProcStatus(const std::string &text)
{
    ProcMemory memory;
    bool haveRss = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string name = line.substr(0, colon);
        long *field = name == "VmRSS"      ? &memory.rss
                      : name == "VmHWM"    ? &memory.hwm
                      : name == "RssAnon"  ? &memory.anon
                      : name == "RssFile"  ? &memory.file
                      : name == "RssShmem" ? &memory.shmem
                                           : nullptr;
        if (!field)
            continue;
        std::istringstream value(line.substr(colon + 1));
        std::string unit;
        if (!(value >> *field >> unit) || unit != "kB")
            return std::nullopt;
        haveRss = haveRss || field == &memory.rss;
    }
    if (!haveRss)
        return std::nullopt;
    return memory;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

ChildRun runChild(const std::vector<std::string> &argv, const ChildOptions &options)
{
    ChildRun run;
    if (argv.empty()) {
        run.error = "no program";
        return run;
    }
    Pipe out, err;
    if (pipe(out.fd) != 0 || pipe(err.fd) != 0) {
        run.error = std::string("pipe: ") + std::strerror(errno);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fd[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out.fd[0]);
    posix_spawn_file_actions_addclose(&actions, err.fd[0]);

    std::vector<std::string> arguments = argv;
    std::vector<char *> args;
    for (std::string &arg : arguments)
        args.push_back(arg.data());
    args.push_back(nullptr);
    std::vector<std::string> environment = childEnvironment(options.environment);
    std::vector<char *> env;
    for (std::string &entry : environment)
        env.push_back(entry.data());
    env.push_back(nullptr);

    const Clock::time_point begin = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    out.closeEnd(1);
    err.closeEnd(1);
    if (spawned != 0) {
        run.error = argv[0] + ": " + std::strerror(spawned);
        return run;
    }

    std::string errors;
    std::optional<Clock::time_point> painted;
    std::size_t nextSample = 0;
    bool timedOut = false;
    bool sampleLost = false;
    int pollFailed = 0;
    const Clock::time_point giveUp = begin + seconds(options.timeoutSeconds);
    const auto sampleDue = [&]() -> std::optional<Clock::time_point> {
        if (!painted || nextSample >= options.samplesAfterPaint.size())
            return std::nullopt;
        return *painted + seconds(options.samplesAfterPaint[nextSample]);
    };
    while (out.fd[0] >= 0 || err.fd[0] >= 0) {
        Clock::time_point wake = giveUp;
        if (const auto due = sampleDue())
            wake = std::min(wake, *due);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now());
        pollfd fds[2] = {{out.fd[0], POLLIN, 0}, {err.fd[0], POLLIN, 0}};
        if (poll(fds, 2, int(std::max<long long>(0, wait.count()))) < 0 && errno != EINTR) {
            pollFailed = errno;
            kill(pid, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                (i == 0 ? out : err).closeEnd(0);
                continue;
            }
            std::string &text = i == 0 ? run.output : errors;
            if (text.size() < (i == 0 ? OutputLimit : ErrorLimit))
                text.append(buffer, std::size_t(n));
            if (i == 0 && !painted && run.output.find("painted") != std::string::npos) {
                painted = Clock::now();
                run.paintedSeconds = std::chrono::duration<double>(*painted - begin).count();
            }
        }
        const Clock::time_point now = Clock::now();
        for (auto due = sampleDue(); due && now >= *due; due = sampleDue()) {
            if (const std::optional<ProcMemory> memory = readMemory(std::to_string(pid)))
                run.samples.push_back(*memory);
            else
                sampleLost = true;
            ++nextSample;
        }
        if (now >= giveUp) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
    }

    int status = 0;
    rusage usage{};
    pid_t waited;
    do {
        waited = wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    run.exitSeconds = secondsSince(begin);
    run.peakKiB = usage.ru_maxrss;
    if (pollFailed) {
        run.error = std::string("poll: ") + std::strerror(pollFailed);
    } else if (timedOut) {
        run.error = "did not end within " + std::to_string(int(options.timeoutSeconds)) + " s";
    } else if (waited != pid) {
        run.error = std::string("wait4: ") + std::strerror(errno);
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.error = WIFEXITED(status) ? "exited with " + std::to_string(WEXITSTATUS(status))
                                      : "killed by signal " + std::to_string(WTERMSIG(status));
    } else if (options.expectPainted && !painted) {
        run.error = "never said that its window painted";
    } else if (sampleLost || run.samples.size() < options.samplesAfterPaint.size()) {
        run.error = "ended before its memory was read";
    } else {
        run.ok = true;
    }
    // The child's peak is at least our memory at the exec; above our peak, read now (what we
    // allocated between a reading before the spawn and the exec counts too), it is its own.
    const std::optional<ProcMemory> runner = readMemory("self");
    run.peakKnown = runner && run.peakKiB > runner->hwm;
    if (!run.ok && !errors.empty())
        run.error += "; its errors: " + errors;
    return run;
}
