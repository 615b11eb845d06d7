#pragma once

#include <functional>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// What a child process left: its exit status, what `work` returned and what it wrote to stderr.
struct ChildResult {
    int status = -1;
    std::string result;
    std::string errors;
};

// Runs `work` in a child process that has given up root, when this one is root, for nobody's
// user and group, so that file permissions hold for it as for any user. The child ends without
// running destructors or exit handlers.
inline ChildResult runUnprivileged(const std::function<std::string()> &work)
{
    constexpr uid_t Nobody = 65534;
    int result[2];
    int errors[2];
    ChildResult child;
    if (::pipe2(result, O_CLOEXEC) != 0 || ::pipe2(errors, O_CLOEXEC) != 0)
        return child;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errors[1], STDERR_FILENO);
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(99);
        const std::string text = work();
        const bool written = ::write(result[1], text.data(), text.size()) == ssize_t(text.size());
        ::_exit(written ? 0 : 98);
    }
    ::close(result[1]);
    ::close(errors[1]);
    const auto drain = [](int fd, std::string &into) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            into.append(buffer, std::size_t(n));
        ::close(fd);
    };
    drain(errors[0], child.errors);
    drain(result[0], child.result);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        child.status = WEXITSTATUS(status);
    return child;
}
