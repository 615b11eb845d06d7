// The progress dialog's jobs against the emulated keyboard paced like a full-speed endpoint:
// the key write's wall time against its floor (reports x 1 ms plus the job's 1 s wait), the
// longest stall of the user-interface thread meanwhile, and opening the dialog to its first
// painted frame.
#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceTransfer.h"
#include "jobs/DeviceWorker.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include "bench/BenchApplication.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

enum Keys { PlainKeys, MaximalMacros, NoJob };

// The largest macro a key holds: 16383 entries with their delays, 65532 bytes on the
// keyboard in 1237 reports.
ActionList maximalMacro()
{
    ActionList macro(9);
    constexpr int Entries = 65535 / 4;
    for (int i = 0; i < Entries; ++i) {
        macro.setAt(20000, "A");
        if (i + 1 < Entries)
            macro.setAt(20000, "<30 ms>");
    }
    return macro;
}

// An opened emulated keyboard at scale 1.5 with the built skins.
struct Bench {
    explicit Bench(std::chrono::microseconds interval)
        : keyboard(quillosim::SimKeyboard::create(4))
    {
        application();
        quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
        state.deviceType = 4;
        state.buildCatalogue();
        state.scaleFactor = 1.5f;
        state.resetKeyModel();
        ready = state.hwi.__createDev()
                && skins.load(QCoreApplication::applicationDirPath(), state.deviceType);
        if (ready)
            warmUp();
        keyboard->setReportInterval(interval);
    }

    // In the program the main window has drawn its text before any job: the fonts are
    // loaded once per process, so a first dialog is painted before anything is measured.
    void warmUp()
    {
        // A dialog that waits a moment for a worker, so that it surely shows and paints.
        worker.start(DeviceWorker::Task::Exchange, nullptr,
                     [](WindowHandle) { std::this_thread::sleep_for(100ms); });
        CNuboDialogProgress::waitForDevice(context(), device(), progressSkin(), nullptr);
        worker.wait();
        QCoreApplication::processEvents();
    }
    ~Bench()
    {
        worker.wait();
        state.hwi.__closeDev();
        quillodev::setHidBackend(nullptr);
    }

    void assign(Keys keys)
    {
        if (keys == PlainKeys)
            return; // the defaults: one report per key
        const ActionList macro = maximalMacro();
        for (int layer = 0; layer < 2; ++layer) {
            for (int key = 1; key <= AppState::KeyCount; ++key)
                state.setAssignment(key, layer, {KeyAssignment::Macro, 0, macro});
        }
    }

    SkinImages progressSkin() const
    {
        return skins.images(SkinIds::skinSet(SkinDialog::Progress, state.deviceType));
    }

    DialogContext context() const { return {state.language, state.scaleFactor, fonts}; }
    DeviceAccess device() { return {state.hwi, worker}; }
    JobData data() { return {state.catalogue, state, state.pressCounters}; }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    DeviceWorker worker;
    FontTable fonts;
    SkinLibrary skins;
    bool ready = false;
};

// The key write in its dialog; its wall time, and the longest gap between the ticks of a
// 1 ms timer on the user-interface thread while it ran.
struct KeyWrite {
    double seconds = 0;
    double longestStallMs = 0;
    // The most processor time the thread spent between two ticks: what the program itself
    // costs, apart from waiting for a processor on a busy machine.
    double longestBusyMs = 0;
    int reports = 0;
    bool succeeded = false;
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs `dialog` (true: succeeded) with a 1 ms timer ticking on the user-interface thread.
template<typename Dialog>
KeyWrite timed(Bench &bench, Dialog dialog)
{
    KeyWrite result;
    const int before = bench.keyboard->stats().reportsReceived;
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    double busiest = 0;
    double lastCpu = threadCpuMs();
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
        const double cpu = threadCpuMs();
        busiest = std::max(busiest, cpu - lastCpu);
        lastCpu = cpu;
    });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticks.start();
    result.succeeded = dialog();
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    ticks.stop();
    result.longestStallMs = double(longest) / 1e6;
    result.longestBusyMs = busiest;
    result.reports = bench.keyboard->stats().reportsReceived - before;
    return result;
}

KeyWrite writeKeys(Bench &bench)
{
    return timed(bench, [&bench] {
        return CNuboDialogProgress::runJob(bench.context(), bench.device(), bench.data(),
                                           bench.progressSkin(), TransferJob::WriteKeys, nullptr)
               == CNuboDialogProgress::Succeeded;
    });
}

KeyWrite waitForWorker(Bench &bench)
{
    return timed(bench, [&bench] {
        return CNuboDialogProgress::waitForDevice(bench.context(), bench.device(),
                                                  bench.progressSkin(), nullptr);
    });
}

void BM_KeyWriteWallTime(benchmark::State &state)
{
    Bench bench(1ms);
    if (!bench.ready) {
        state.SkipWithError("no keyboard or no skins");
        return;
    }
    bench.assign(Keys(state.range(0)));
    KeyWrite last;
    for (auto _ : state) {
        last = writeKeys(bench);
        if (!last.succeeded) {
            state.SkipWithError("the key write failed");
            return;
        }
        state.SetIterationTime(last.seconds);
    }
    // One report a millisecond, and the second the keyboard stores for.
    const double floor = last.reports * 1e-3 + 1.0;
    state.counters["reports"] = last.reports;
    state.counters["floor_s"] = floor;
    state.counters["over_floor_pct"] = (last.seconds / floor - 1.0) * 100.0;
    state.counters["longest_stall_ms"] = last.longestStallMs;
    state.counters["longest_busy_ms"] = last.longestBusyMs;
}
BENCHMARK(BM_KeyWriteWallTime)
    ->Arg(PlainKeys)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyWriteWallTime)
    ->Arg(MaximalMacros)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// The user-interface thread while the worker writes as fast as it can: the stall target is
// one frame at 60 Hz, 16 ms.
void BM_UiStallDuringKeyWrite(benchmark::State &state)
{
    Bench bench(0us);
    if (!bench.ready) {
        state.SkipWithError("no keyboard or no skins");
        return;
    }
    const Keys keys = Keys(state.range(0));
    bench.assign(keys);
    double longest = 0;
    double busiest = 0;
    for (auto _ : state) {
        // NoJob: the same timer while the dialog only waits for a worker that sleeps, which is
        // what the machine itself costs the thread.
        if (keys == NoJob)
            bench.worker.start(DeviceWorker::Task::Exchange, nullptr,
                               [](WindowHandle) { std::this_thread::sleep_for(1s); });
        const KeyWrite run = keys == NoJob ? waitForWorker(bench) : writeKeys(bench);
        if (!run.succeeded) {
            state.SkipWithError("the key write failed");
            return;
        }
        longest = std::max(longest, run.longestStallMs);
        busiest = std::max(busiest, run.longestBusyMs);
        state.SetIterationTime(run.seconds);
    }
    state.counters["longest_stall_ms"] = longest;
    state.counters["longest_busy_ms"] = busiest;
}
BENCHMARK(BM_UiStallDuringKeyWrite)
    ->Arg(PlainKeys)
    ->Arg(MaximalMacros)
    ->Arg(NoJob)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The copy the key write's worker sends, taken on the user-interface thread: every key of a
// maximal configuration encoded. The dialog takes it in slices of 5 ms, so this is the sum of
// them, not a stall.
void BM_KeyWriteCopy(benchmark::State &state)
{
    Bench bench(0us);
    if (!bench.ready) {
        state.SkipWithError("no keyboard or no skins");
        return;
    }
    bench.assign(MaximalMacros);
    for (auto _ : state) {
        DeviceTransfer::EncodedKeys encoded;
        const TransferResult result
            = DeviceTransfer::encodeKeyAssignments(bench.state.catalogue, bench.state, encoded);
        if (!result) {
            state.SkipWithError("a maximal macro was refused");
            return;
        }
        benchmark::DoNotOptimize(encoded);
    }
}
BENCHMARK(BM_KeyWriteCopy)->Iterations(5)->Unit(benchmark::kMillisecond);

// A progress dialog that notes its first painted frame.
class TimedProgress : public CNuboDialogProgress {
public:
    using CNuboDialogProgress::CNuboDialogProgress;
    bool painted = false;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        CNuboDialogProgress::paintEvent(event);
        painted = true;
    }
};

void BM_ProgressDialogToFirstFrame(benchmark::State &state)
{
    // A keyboard slow enough that the job is still running when the frame is up.
    Bench bench(20ms);
    if (!bench.ready) {
        state.SkipWithError("no keyboard or no skins");
        return;
    }
    const SkinImages skin = bench.progressSkin();
    double slowest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto dialog = std::make_unique<TimedProgress>(bench.context(), bench.device(), skin);
        dialog->DeviceJob = TransferJob::ReadCounters;
        dialog->setJobData(bench.data());
        dialog->setWaits({0ms, 0ms, 0ms});
        dialog->setWindowModality(Qt::NonModal);
        const bool opened = dialog->initialise();
        dialog->show();
        while (opened && !dialog->painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        slowest = std::max(slowest, seconds);
        state.SetIterationTime(seconds);

        state.PauseTiming();
        while (dialog->isVisible())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        dialog.reset();
        bench.worker.wait();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        if (!opened) {
            state.SkipWithError("the dialog did not open");
            return;
        }
    }
    state.counters["slowest_ms"] = slowest * 1e3;
}
BENCHMARK(BM_ProgressDialogToFirstFrame)
    ->Iterations(30)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
