// The footprint table in one run: quillo-sim's start, peak and idle memory against a bare Qt
// window, every dialog's open time, the undo step of the largest changes and the largest
// profile's load against pugixml. Each part runs the programs built beside this one.
#include "BenchCsv.h"
#include "ChildRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Settings {
    int starts = 9;   // of each program, alternating
    int idleRuns = 3; // of quillo-sim left idle
    double idleSeconds = 5;
    int repetitions = 5; // of each benchmark, and fresh starts per dialog
    std::string parts = "processes,dialogs,undo,profile";
};

const std::vector<std::string> Offscreen{"QT_QPA_PLATFORM=offscreen"};

void usage(std::FILE *out)
{
    std::fputs(
        "Usage: footprint [--starts N] [--idle-runs N] [--idle-seconds S] [--repetitions N]\n"
        "                 [--only PARTS]\n"
        "Prints quillo-sim's footprint against the bare Qt window, the open time of every\n"
        "dialog, the undo step of the largest changes and the profile load against pugixml.\n"
        "\n"
        "  --starts N        starts of each program, alternating (default 9)\n"
        "  --idle-runs N     runs of quillo-sim left idle (default 3)\n"
        "  --idle-seconds S  how long they sit idle after the first paint (default 5)\n"
        "  --repetitions N   of each benchmark, and fresh starts per dialog (default 5)\n"
        "  --only PARTS      some of processes,dialogs,undo,profile (default: all)\n",
        out);
}

bool parseCount(const char *text, int &value)
{
    char *end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || number < 1 || number > 1000)
        return false;
    value = int(number);
    return true;
}

bool parse(int argc, char *argv[], Settings &settings)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            std::exit(0);
        }
        if (i + 1 >= argc)
            return false;
        const char *value = argv[++i];
        bool good = true;
        if (arg == "--starts") {
            good = parseCount(value, settings.starts);
        } else if (arg == "--idle-runs") {
            good = parseCount(value, settings.idleRuns);
        } else if (arg == "--repetitions") {
            good = parseCount(value, settings.repetitions);
        } else if (arg == "--idle-seconds") {
            char *end = nullptr;
            settings.idleSeconds = std::strtod(value, &end);
            good = *value != '\0' && *end == '\0' && settings.idleSeconds > 0
                   && settings.idleSeconds <= 600;
        } else if (arg == "--only") {
            settings.parts = value;
        } else {
            good = false;
        }
        if (!good)
            return false;
    }
    return true;
}

bool wants(const Settings &settings, const char *part)
{
    return ("," + settings.parts + ",").find(std::string(",") + part + ",") != std::string::npos;
}

fs::path programFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

std::string program(const char *name)
{
    return (programFolder() / name).string();
}

double mib(double kib)
{
    return kib / 1024;
}

void fail(const std::string &what, const ChildRun &run)
{
    std::fprintf(stderr, "footprint: %s: %s\n", what.c_str(), run.error.c_str());
    std::exit(1);
}

void processes(const Settings &settings)
{
    const fs::path shot = fs::temp_directory_path() / ("footprint-" + std::to_string(getpid()));
    const std::vector<std::string> sim{program("quillo-sim"), "--variant", "4", "--screenshot",
                                       shot.string() + "-sim.png"};
    const std::vector<std::string> bare{program("bare-window"), "--screenshot",
                                        shot.string() + "-bare.png"};
    std::vector<double> simExit, bareExit, simPaint, barePaint, simPeak, barePeak;
    ChildOptions options;
    options.environment = Offscreen;
    for (int i = 0; i < settings.starts; ++i) {
        // Each goes first half of the time, so that both see the same load.
        for (int k = 0; k < 2; ++k) {
            const bool isSim = (i + k) % 2 == 0;
            ChildRun run = runChild(isSim ? sim : bare, options);
            if (run.ok && !run.peakKnown) {
                run.ok = false;
                run.error = "its peak memory is no larger than the runner's own";
            }
            if (!run.ok)
                fail(isSim ? "quillo-sim" : "bare-window", run);
            (isSim ? simExit : bareExit).push_back(run.exitSeconds * 1000);
            (isSim ? simPaint : barePaint).push_back(run.paintedSeconds * 1000);
            (isSim ? simPeak : barePeak).push_back(mib(double(run.peakKiB)));
        }
    }
    fs::remove(shot.string() + "-sim.png");
    fs::remove(shot.string() + "-bare.png");

    std::vector<double> idleRss, idleAnon, idleFile, idleHwm;
    ChildOptions idle = options;
    idle.samplesAfterPaint = {settings.idleSeconds};
    const std::vector<std::string> sitting{program("quillo-sim"), "--variant", "4", "--quit-after",
                                           std::to_string(settings.idleSeconds + 0.5)};
    for (int i = 0; i < settings.idleRuns; ++i) {
        const ChildRun run = runChild(sitting, idle);
        if (!run.ok)
            fail("quillo-sim --quit-after", run);
        const ProcMemory &memory = run.samples.front();
        idleRss.push_back(mib(double(memory.rss)));
        idleAnon.push_back(mib(double(memory.anon)));
        idleFile.push_back(mib(double(memory.file)));
        idleHwm.push_back(mib(double(memory.hwm)));
    }

    const double bp = median(barePeak);
    std::printf("quillo-sim --variant 4 against bare-window, offscreen; %d starts each, "
                "alternating; medians\n\n",
                settings.starts);
    std::printf("%-44s %12s %12s %8s %8s\n", "", "quillo-sim", "bare window", "ratio", "goal");
    const auto row
        = [](const char *what, double ours, double theirs, const char *unit, const char *goal) {
              std::printf("%-44s %8.1f %-3s %8.1f %-3s %7.2fx %8s\n", what, ours, unit, theirs,
                          unit, ours / theirs, goal);
          };
    row("start to exit (--screenshot), wall", median(simExit), median(bareExit), "ms", "<= 1.5x");
    row("  start to the first painted frame", median(simPaint), median(barePaint), "ms", "");
    row("peak memory at first paint (ru_maxrss)", median(simPeak), bp, "MiB", "<= 1.5x");
    char what[64];
    std::snprintf(what, sizeof what, "memory after %g s idle (VmRSS, %d runs)",
                  settings.idleSeconds, settings.idleRuns);
    std::printf("%-44s %8.1f MiB %12s %7.2fx %8s  (the bare window's peak)\n", what,
                median(idleRss), "-", median(idleRss) / bp, "<= 2.0x");
    std::printf("%-44s %8.1f MiB anonymous, %.1f MiB file-backed; peak so far %.1f MiB\n\n",
                "  of which", median(idleAnon), median(idleFile), median(idleHwm));
}

// A benchmark program's CSV rows, run with `arguments`.
std::vector<BenchRow> benchRows(const char *name, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), program(name));
    arguments.push_back("--benchmark_format=csv");
    ChildOptions options;
    options.environment = Offscreen;
    options.expectPainted = false;
    options.timeoutSeconds = 600;
    const ChildRun run = runChild(arguments, options);
    if (!run.ok)
        fail(name, run);
    std::vector<BenchRow> rows = parseBenchmarkCsv(run.output);
    for (const BenchRow &row : rows) {
        if (row.failed) {
            std::fprintf(stderr, "footprint: %s %s: %s\n", name, row.name.c_str(),
                         row.errorMessage.c_str());
            std::exit(1);
        }
    }
    return rows;
}

std::string repetitions(const Settings &settings)
{
    return "--benchmark_repetitions=" + std::to_string(settings.repetitions);
}

// A benchmark's name without what Google Benchmark appends (iterations:1, manual_time...).
std::string shortName(std::string name, const std::string &prefix)
{
    if (name.rfind(prefix, 0) == 0)
        name.erase(0, prefix.size());
    for (std::size_t slash; (slash = name.rfind('/')) != std::string::npos;) {
        const std::string last = name.substr(slash + 1);
        if (last.find(':') == std::string::npos && last != "manual_time")
            break;
        name.erase(slash);
    }
    return name;
}

double medianOf(const std::vector<BenchRow> &rows, const std::string &prefix,
                const std::string &name)
{
    for (const BenchRow &row : rows) {
        const std::string suffix = "_median";
        if (row.name.size() > suffix.size()
            && row.name.compare(row.name.size() - suffix.size(), suffix.size(), suffix) == 0
            && shortName(row.name.substr(0, row.name.size() - suffix.size()), prefix) == name)
            return row.milliseconds;
    }
    return -1;
}

std::string regexQuoted(const std::string &text)
{
    std::string quoted;
    for (char c : text) {
        if (std::strchr(".^$|()[]{}*+?\\", c))
            quoted += '\\';
        quoted += c;
    }
    return quoted;
}

void dialogs(const Settings &settings)
{
    ChildOptions options;
    options.environment = Offscreen;
    options.expectPainted = false;
    const ChildRun list = runChild({program("dialog_bench"), "--benchmark_list_tests=true",
                                    "--benchmark_filter=^BM_OpenFirst/"},
                                   options);
    if (!list.ok)
        fail("dialog_bench", list);
    std::vector<std::string> firsts;
    for (std::size_t at = 0, end; (end = list.output.find('\n', at)) != std::string::npos;
         at = end + 1) {
        if (end > at)
            firsts.push_back(list.output.substr(at, end - at));
    }
    const std::vector<BenchRow> again
        = benchRows("dialog_bench", {"--benchmark_filter=^BM_OpenAgain/", repetitions(settings),
                                     "--benchmark_report_aggregates_only=true"});

    std::printf("Dialogs at scale 1.5, from the call that opens them to their first painted "
                "frame; medians of %d\n(first: one open in a freshly started program each; "
                "again: after a first open)\n\n",
                settings.repetitions);
    std::printf("%-28s %12s %12s %8s\n", "dialog", "first", "again", "goal");
    for (const std::string &first : firsts) {
        std::vector<double> times;
        for (int i = 0; i < settings.repetitions; ++i) {
            const std::vector<BenchRow> rows
                = benchRows("dialog_bench", {"--benchmark_filter=^" + regexQuoted(first) + "$"});
            const BenchRow *row = findRow(rows, first);
            if (!row || row->label != "first in process") {
                std::fprintf(stderr, "footprint: dialog_bench did not run %s alone\n",
                             first.c_str());
                std::exit(1);
            }
            times.push_back(row->milliseconds);
        }
        const std::string name = shortName(first, "BM_OpenFirst/");
        std::printf("%-28s %9.1f ms %9.1f ms %8s\n", name.c_str(), median(times),
                    medianOf(again, "BM_OpenAgain/", name), "<= 30 ms");
    }
    std::printf("\n");
}

void undo(const Settings &settings)
{
    const std::vector<BenchRow> rows
        = benchRows("undo_bench", {"--benchmark_filter=^BM_UndoRecord", repetitions(settings),
                                   "--benchmark_report_aggregates_only=true"});
    std::printf("Undo step of the largest configuration, as the user-interface thread records "
                "it; medians of %d\n\n",
                settings.repetitions);
    for (const char *change : {"Clear", "Open", "Load"})
        std::printf("%-28s %9.1f ms %8s\n", change, medianOf(rows, "BM_UndoRecord", change),
                    "<= 16 ms");
    std::printf("\n");
}

void profile(const Settings &settings)
{
    const std::vector<BenchRow> rows = benchRows(
        "profile_bench",
        {"--benchmark_filter=^BM_Load(Pugixml)?/", repetitions(settings),
         "--benchmark_report_aggregates_only=true", "--benchmark_enable_random_interleaving=true"});
    std::printf("Profile load against pugixml's parse and walk, side by side in one run; "
                "medians of %d\n\n",
                settings.repetitions);
    std::printf("%-28s %12s %12s %8s %8s\n", "profile", "ours", "pugixml", "ratio", "goal");
    for (const auto &[name, argument, goal] :
         {std::tuple{"maximal", "1", "<= 1.0x"}, std::tuple{"reset", "0", ""}}) {
        const double ours = medianOf(rows, "", std::string("BM_Load/") + argument);
        const double theirs = medianOf(rows, "", std::string("BM_LoadPugixml/") + argument);
        std::printf("%-28s %9.2f ms %9.2f ms %7.2fx %8s\n", name, ours, theirs, ours / theirs,
                    goal);
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    Settings settings;
    if (!parse(argc, argv, settings)) {
        usage(stderr);
        return 2;
    }
    const std::pair<const char *, void (*)(const Settings &)> parts[]
        = {{"processes", processes}, {"dialogs", dialogs}, {"undo", undo}, {"profile", profile}};
    for (const auto &[name, run] : parts) {
        if (wants(settings, name)) {
            run(settings);
            std::fflush(stdout);
        }
    }
    return 0;
}
