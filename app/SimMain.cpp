#include "app/CNuboApp.h"
#include "app/CNuboDlg.h"
#include "app/FirstPaintGrabber.h"
#include "app/SimUsage.h"
#include "app/SkinPreload.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "sim/TracingBackend.h"

#include "sim/FaultOption.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int ScreenshotTimeoutMs = 60000;

struct Options {
    int variant = 4;
    std::string screenshot;
    std::string trace;
    std::string profile;
    std::string fault;
    quillosim::SimFaults faults;
    double quitAfter = 0; // seconds after the first paint; 0: runs until closed
    bool version = false;
};

void usage(std::FILE *out)
{
    std::fputs(UsageText::help(SimUsage::doc()).c_str(), out);
}

bool parseSeconds(const std::string &text, double &seconds)
{
    // Plain decimals only: no signs, exponents, hexadecimal or infinities.
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(value > 0) || value > 86400)
        return false;
    seconds = value;
    return true;
}

// Qt's own options (-platform and the like) are left to QApplication.
bool parse(int argc, char *argv[], Options &options, bool &help)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            help = true;
        } else if (!std::strcmp(arg, "--version")) {
            options.version = true;
        } else if (!std::strcmp(arg, "--variant") || !std::strcmp(arg, "--screenshot")
                   || !std::strcmp(arg, "--trace") || !std::strcmp(arg, "--profile")
                   || !std::strcmp(arg, "--fault") || !std::strcmp(arg, "--quit-after")) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "quillo-sim: %s needs a value\n", arg);
                return false;
            }
            const std::string value = argv[++i];
            if (!std::strcmp(arg, "--screenshot")) {
                options.screenshot = value;
            } else if (!std::strcmp(arg, "--trace")) {
                options.trace = value;
            } else if (!std::strcmp(arg, "--profile")) {
                options.profile = value;
            } else if (!std::strcmp(arg, "--quit-after")) {
                if (!parseSeconds(value, options.quitAfter)) {
                    std::fprintf(stderr,
                                 "quillo-sim: --quit-after takes a number of seconds above 0 and "
                                 "up to 86400, not \"%s\"\n",
                                 value.c_str());
                    return false;
                }
            } else if (!std::strcmp(arg, "--fault")) {
                std::string error;
                if (!options.fault.empty()) {
                    std::fputs("quillo-sim: --fault is given once\n", stderr);
                    return false;
                }
                if (!quillosim::FaultOption::parse(value, options.faults, error)) {
                    std::fprintf(stderr, "quillo-sim: --fault %s: %s\n", value.c_str(),
                                 error.c_str());
                    return false;
                }
                options.fault = value;
            } else if (value.size() == 1 && value[0] >= '1' && value[0] <= '4') {
                options.variant = value[0] - '0';
            } else {
                std::fprintf(stderr, "quillo-sim: --variant takes 1, 2, 3 or 4, not \"%s\"\n",
                             value.c_str());
                return false;
            }
        } else if (!std::strncmp(arg, "--", 2)) {
            std::fprintf(stderr, "quillo-sim: unknown option %s\n", arg);
            return false;
        }
    }
    return true;
}

void sayPainted()
{
    // Scripts and the start-up benchmarks wait for this line.
    std::fputs("quillo-sim: main window painted\n", stdout);
    std::fflush(stdout);
}

// Calls `painted` once, when the window's first paint has completed.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget *window, std::function<void()> painted)
        : QObject(window)
        , m_window(window)
        , m_painted(std::move(painted))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && m_painted)
            QTimer::singleShot(0, this, std::exchange(m_painted, {}));
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    std::function<void()> m_painted;
};

// Ends the program `seconds` after the main window's first paint.
std::function<void(CNuboDlg &)> quitHook(double seconds, bool sayWhenPainted)
{
    return [seconds, sayWhenPainted](CNuboDlg &window) {
        new FirstPaintWatch(&window, [&window, seconds, sayWhenPainted] {
            if (sayWhenPainted)
                sayPainted();
            QTimer::singleShot(int(seconds * 1000 + 0.5), Qt::PreciseTimer, &window,
                               [&window] { window.done(QDialog::Accepted); });
        });
    };
}

// Saves the first painted frame to `path` and ends the program, unless `stays` (another hook
// ends it).
std::function<void(CNuboDlg &)> screenshotHook(const QString &path, bool &shotFailed, bool stays)
{
    return [&shotFailed, path, stays](CNuboDlg &window) {
        auto *grabber = new FirstPaintGrabber(&window, path);
        QObject::connect(grabber, &FirstPaintGrabber::painted, &sayPainted);
        QObject::connect(grabber, &FirstPaintGrabber::done, &window,
                         [&shotFailed, grabber, &window, path, stays] {
                             if (!grabber->saved()) {
                                 std::fprintf(stderr, "quillo-sim: cannot save %s: %s\n",
                                              qUtf8Printable(path),
                                              qUtf8Printable(grabber->error()));
                                 shotFailed = true;
                             }
                             if (!stays)
                                 window.done(QDialog::Accepted);
                         });
        // A window that never paints must not keep a scripted run waiting.
        QTimer::singleShot(ScreenshotTimeoutMs, &window, [&shotFailed, &window, grabber] {
            if (grabber->finished())
                return;
            std::fputs("quillo-sim: the main window was never painted\n", stderr);
            shotFailed = true;
            window.done(QDialog::Rejected);
        });
    };
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    bool help = false;
    if (!parse(argc, argv, options, help)) {
        usage(stderr);
        return 2;
    }
    if (help) {
        usage(stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quillo-sim " QUILLO_VERSION "\n", stdout);
        return 0;
    }

    // The emulated keyboard is attached before anything looks for one.
    const std::shared_ptr<quillosim::SimKeyboard> keyboard
        = quillosim::SimKeyboard::create(options.variant);
    keyboard->setFaults(options.faults);
    std::shared_ptr<quillodev::HidBackend> backend
        = std::make_shared<quillosim::SimHidBackend>(keyboard);
    std::shared_ptr<ReportTrace> trace;
    if (!options.trace.empty()) {
        trace = std::make_shared<ReportTrace>();
        if (!trace->open(options.trace)) {
            std::fprintf(stderr, "quillo-sim: cannot open the trace file %s\n",
                         options.trace.c_str());
            return 1;
        }
        backend = std::make_shared<TracingBackend>(backend, trace);
    }
    quillodev::setHidBackend(backend);

    int code = 0;
    {
        const auto state = std::make_unique<AppState>();
        SkinPreload skins([&state] { return state->hwi.DetectDeviceType(); },
                          CNuboApp::skinFolder());
        QApplication application(argc, argv);
        CNuboApp quillo(*state);
        quillo.setPreload(&skins);

        bool shotFailed = false;
        std::vector<std::function<void(CNuboDlg &)>> hooks;
        if (!options.profile.empty()) {
            const QString path = QString::fromLocal8Bit(options.profile.c_str());
            hooks.push_back([path](CNuboDlg &window) {
                // Once the window's loop runs, as a click on Open would.
                QTimer::singleShot(0, &window, [&window, path] { window.openProfile(path); });
            });
        }
        if (!options.screenshot.empty()) {
            quillo.setUnattended(true);
            hooks.push_back(screenshotHook(QString::fromLocal8Bit(options.screenshot.c_str()),
                                           shotFailed, options.quitAfter > 0));
        }
        if (options.quitAfter > 0)
            hooks.push_back(quitHook(options.quitAfter, options.screenshot.empty()));
        quillo.setMainWindowHook([hooks](CNuboDlg &window) {
            for (const auto &hook : hooks)
                hook(window);
        });
        code = quillo.run();
        if (code == 0 && shotFailed)
            code = 1;
    }
    quillodev::setHidBackend(nullptr);
    // A trace that did not reach its file is no trace: the run fails.
    if (std::string error; trace && !trace->close(error)) {
        std::fprintf(stderr, "quillo-sim: cannot write the trace file %s: %s\n",
                     options.trace.c_str(), error.c_str());
        code = 1;
    }
    return code;
}
