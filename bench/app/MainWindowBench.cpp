// Painting of the main window and the program's cold start.
#include "app/CNuboDlg.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include "bench/BenchApplication.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char **environ;

namespace {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

// A started main window at scale 1.5 on an emulated keyboard, with the built skins.
struct StartedWindow {
    StartedWindow()
        : keyboard(quillosim::SimKeyboard::create(4))
    {
        quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
        state.deviceType = 4;
        state.buildCatalogue();
        state.scaleFactor = 1.5f;
        skinsLoaded = skins.load(programFolder(), state.deviceType);
        if (skinsLoaded)
            window = std::make_unique<CNuboDlg>(
                state, fonts,
                skins.images(SkinIds::skinSet(SkinDialog::MainWindow, state.deviceType)));
        started = window && window->initialise();
        if (started) {
            // Some keys of every category, so that the bars are part of the work.
            for (int category = 2; category <= 8; ++category)
                state.category[std::size_t(AppState::index(20 + category, 0))] = category;
            window->show();
            QCoreApplication::processEvents();
        }
    }
    ~StartedWindow()
    {
        window.reset();
        state.hwi.__closeDev();
        quillodev::setHidBackend(nullptr);
    }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    FontTable fonts;
    SkinLibrary skins;
    bool skinsLoaded = false;
    std::unique_ptr<CNuboDlg> window;
    bool started = false;
};

void moveTo(QWidget &window, QPoint point)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(point), window.mapToGlobal(QPointF(point)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

void BM_FullPaintAtScale15(benchmark::State &bench)
{
    application();
    StartedWindow started;
    if (!started.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    QImage target(started.window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        QPainter painter(&target);
        started.window->render(&painter);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_FullPaintAtScale15)->Unit(benchmark::kMillisecond);

void BM_HoverChange(benchmark::State &bench)
{
    application();
    StartedWindow started;
    if (!started.started) {
        bench.SkipWithError("main window did not start (is Quillores.rcc built?)");
        return;
    }
    // Between the centres of the keys Q and W, each move leaving one key and entering another.
    const auto centre = [&](int key) {
        const int index = started.window->table().indexOfKey(key);
        const ButtonRect r = started.window->table()[std::size_t(index)].rect;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    const QPoint points[2] = {centre(29), centre(30)};
    int next = 0;
    for (auto _ : bench) {
        moveTo(*started.window, points[next]);
        next ^= 1;
        // The invalidated rectangles are painted here.
        started.window->repaint(started.window->rect());
    }
}
BENCHMARK(BM_HoverChange)->Unit(benchmark::kMillisecond);

// Loading the main window's faces, packed as built and stored raw, up to their first use: the
// background read whole, as the first paint does.
void skinLoad(benchmark::State &bench, const QString &folder)
{
    application();
    for (auto _ : bench) {
        SkinLibrary skins;
        if (!skins.load(folder, 4)) {
            bench.SkipWithError(qPrintable(skins.errorText(false)));
            return;
        }
        const SkinImages faces = skins.images(SkinIds::skinSet(SkinDialog::MainWindow, 4));
        std::uint32_t sum = 0;
        for (int y = 0; y < faces.background.height(); ++y) {
            const uchar *line = faces.background.constScanLine(y);
            for (qsizetype x = 0; x < faces.background.bytesPerLine(); x += 64)
                sum += line[x];
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_SkinLoadPacked(benchmark::State &bench)
{
    application();
    skinLoad(bench, programFolder());
}
BENCHMARK(BM_SkinLoadPacked)->Unit(benchmark::kMillisecond);

void BM_SkinLoadRaw(benchmark::State &bench)
{
    application();
    skinLoad(bench, QDir(programFolder()).filePath(QStringLiteral(QUILLO_RAW_SKINS_DIR)));
}
BENCHMARK(BM_SkinLoadRaw)->Unit(benchmark::kMillisecond);

// Wall time from starting a program with --screenshot until it says its window has painted
// (a line on its output); the picture it saves afterwards is not counted.
double runToFirstPaint(const QString &program, const QStringList &extra, const QString &shot)
{
    QByteArrayList args{program.toLocal8Bit()};
    for (const QString &arg : extra)
        args << arg.toLocal8Bit();
    args << "--screenshot" << shot.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return -1;
    }
    std::string seen;
    char buffer[256];
    double seconds = -1;
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        seen.append(buffer, std::size_t(n));
        if (seconds < 0 && seen.find("painted\n") != std::string::npos)
            seconds
                = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    close(out[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return seconds;
}

QString programPath(const char *name)
{
    return QDir(programFolder()).filePath(QLatin1String(name));
}

const QStringList SimArguments{"--variant", "4"};

// Each iteration is one start; the aggregates over the repetitions give the median.
void coldStart(benchmark::State &bench, const QString &program, const QStringList &extra)
{
    application();
    QTemporaryDir dir;
    const QString shot = dir.filePath("shot.png");
    for (auto _ : bench) {
        const double seconds = runToFirstPaint(program, extra, shot);
        if (seconds < 0) {
            bench.SkipWithError(qPrintable(program + " did not run to its first paint"));
            return;
        }
        bench.SetIterationTime(seconds);
    }
}

constexpr int ColdStarts = 15;

void BM_ColdStartQuilloSim(benchmark::State &bench)
{
    coldStart(bench, programPath("quillo-sim"), SimArguments);
}
BENCHMARK(BM_ColdStartQuilloSim)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(ColdStarts)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);

void BM_ColdStartBareQtWindow(benchmark::State &bench)
{
    coldStart(bench, programPath("bare-window"), {});
}
BENCHMARK(BM_ColdStartBareQtWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(ColdStarts)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The programs started in turn, so that all see the same load on a shared machine. quillo-sim
// runs twice: with the skin library as built (faces packed) and with one of the same faces
// stored raw, mapped and used in place. Counters: the median starts and their ratios to the
// bare window's (target: 2 at most, and packed no slower than raw), and both libraries' sizes.
void BM_ColdStartRatio(benchmark::State &bench)
{
    application();
    QTemporaryDir dir;
    const QString shot = dir.filePath("shot.png");
    struct Program {
        QString path;
        QStringList arguments;
        std::vector<double> starts;
    };
    Program programs[] = {
        {programPath("quillo-sim"), SimArguments, {}},
        {QDir(programFolder()).filePath(QStringLiteral(QUILLO_RAW_SKINS_DIR "/quillo-sim")),
         SimArguments,
         {}},
        {programPath("bare-window"), {}, {}},
    };
    constexpr int Count = int(std::size(programs));
    for (auto _ : bench) {
        for (int i = 0; i < ColdStarts; ++i) {
            // Each program takes each place in the round equally often.
            for (int k = 0; k < Count; ++k) {
                Program &program = programs[(i + k) % Count];
                const double seconds = runToFirstPaint(program.path, program.arguments, shot);
                if (seconds < 0) {
                    bench.SkipWithError(
                        qPrintable(program.path + " did not run to its first paint"));
                    return;
                }
                program.starts.push_back(seconds);
            }
        }
        bench.SetIterationTime(median(programs[0].starts));
    }
    const double packed = median(programs[0].starts);
    const double raw = median(programs[1].starts);
    const double bare = median(programs[2].starts);
    bench.counters["packed_ms"] = packed * 1000;
    bench.counters["raw_ms"] = raw * 1000;
    bench.counters["bare_ms"] = bare * 1000;
    bench.counters["ratio"] = packed / bare;
    bench.counters["raw_ratio"] = raw / bare;
    const auto megabytes = [](const QString &path) {
        return double(QFileInfo(path).size()) / (1024 * 1024);
    };
    bench.counters["packed_MiB"] = megabytes(programPath(SkinLibrary::FileName));
    bench.counters["raw_MiB"] = megabytes(QDir(programFolder())
                                              .filePath(QStringLiteral(QUILLO_RAW_SKINS_DIR "/")
                                                        + QLatin1String(SkinLibrary::FileName)));
}
BENCHMARK(BM_ColdStartRatio)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
