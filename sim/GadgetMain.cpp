// quillo-gadget: the emulated keyboard answering on a USB gadget's HID device.

#include "sim/FaultOption.h"
#include "sim/GadgetAnswerer.h"
#include "sim/GadgetUsage.h"
#include "sim/SimKeyboard.h"
#include "sim/TracingBackend.h"

#include <fcntl.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Options {
    std::string device;
    int variant = 4;
    std::string trace;
    std::string fault;
    quillosim::SimFaults faults;
    bool help = false;
    bool version = false;
};

void usage(std::FILE *out)
{
    std::fputs(UsageText::help(GadgetUsage::doc()).c_str(), out);
}

bool parse(int argc, char *argv[], Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--variant" || arg == "--trace" || arg == "--fault") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "quillo-gadget: %s needs a value\n", arg.c_str());
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--trace") {
                options.trace = value;
            } else if (arg == "--fault") {
                std::string error;
                if (!options.fault.empty()) {
                    std::fputs("quillo-gadget: --fault is given once\n", stderr);
                    return false;
                }
                if (!quillosim::FaultOption::parse(value, options.faults, error)) {
                    std::fprintf(stderr, "quillo-gadget: --fault %s: %s\n", value.c_str(),
                                 error.c_str());
                    return false;
                }
                options.fault = value;
            } else if (value.size() == 1 && value[0] >= '1' && value[0] <= '4') {
                options.variant = value[0] - '0';
            } else {
                std::fprintf(stderr, "quillo-gadget: --variant takes 1, 2, 3 or 4, not \"%s\"\n",
                             value.c_str());
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "quillo-gadget: unknown option %s\n", arg.c_str());
            return false;
        } else if (!options.device.empty()) {
            std::fprintf(stderr, "quillo-gadget: one DEVICE only, not also \"%s\"\n", arg.c_str());
            return false;
        } else {
            options.device = arg;
        }
    }
    if (options.device.empty() && !options.help && !options.version) {
        std::fputs("quillo-gadget: DEVICE is missing (the gadget's HID device, such as "
                   "/dev/hidg1)\n",
                   stderr);
        return false;
    }
    return true;
}

// SIGTERM and SIGINT as a descriptor that becomes readable, so that the answerer's one wait
// hears them; blocked first, so that none that comes early is lost.
int stopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0)
        return -1;
    return signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parse(argc, argv, options)) {
        usage(stderr);
        return 2;
    }
    if (options.help) {
        usage(stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quillo-gadget " QUILLO_VERSION "\n", stdout);
        return 0;
    }

    const int stop = stopSignals();
    if (stop < 0) {
        std::fprintf(stderr, "quillo-gadget: cannot take SIGTERM and SIGINT: %s\n",
                     std::strerror(errno));
        return 1;
    }
    // A trace on a pipe whose reader has gone fails its writes instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);

    std::shared_ptr<ReportTrace> trace;
    if (!options.trace.empty()) {
        trace = std::make_shared<ReportTrace>();
        if (!trace->open(options.trace)) {
            std::fprintf(stderr, "quillo-gadget: cannot open the trace file %s: %s\n",
                         options.trace.c_str(), std::strerror(errno));
            return 1;
        }
    }
    const int device = ::open(options.device.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (device < 0) {
        std::fprintf(stderr, "quillo-gadget: cannot open %s: %s\n", options.device.c_str(),
                     std::strerror(errno));
        return 1;
    }
    // A file would be read to its end over and over, never waiting for a host.
    if (struct stat status{}; ::fstat(device, &status) != 0 || !S_ISCHR(status.st_mode)) {
        std::fprintf(stderr,
                     "quillo-gadget: %s is not a character device (a gadget's HID device such "
                     "as /dev/hidg1)\n",
                     options.device.c_str());
        ::close(device);
        return 1;
    }

    const std::shared_ptr<quillosim::SimKeyboard> keyboard
        = quillosim::SimKeyboard::create(options.variant);
    keyboard->setFaults(options.faults);
    // Nobody reads the keyboard's own copy of the trace; a long run would only pile it up.
    keyboard->setTraceLimit(0);

    int code = 0;
    {
        quillosim::GadgetAnswerer answerer(device, keyboard);
        answerer.setLog([](const std::string &line) {
            std::fprintf(stderr, "quillo-gadget: %s\n", line.c_str());
        });
        answerer.setTrace(trace);
        // Scripts wait for this line.
        std::printf("quillo-gadget: answering on %s as variant %d\n", options.device.c_str(),
                    options.variant);
        std::fflush(stdout);

        const std::string error = answerer.run(stop);
        if (!error.empty()) {
            std::fprintf(stderr, "quillo-gadget: %s: %s\n", options.device.c_str(), error.c_str());
            code = 1;
        }
        if (const int refused = answerer.counts().refused; refused > 1)
            std::fprintf(stderr, "quillo-gadget: %d reports of another length were refused\n",
                         refused);
    }
    ::close(device);
    if (std::string error; trace && !trace->close(error)) {
        std::fprintf(stderr, "quillo-gadget: cannot write the trace file %s: %s\n",
                     options.trace.c_str(), error.c_str());
        code = 1;
    }
    return code;
}
