#include "JobHarness.h"

#include "jobs/JobMessages.h"
#include "layout/MainWindowTable.h"
#include "model/Configuration.h"
#include "model/LightArea.h"
#include "model/PressCounters.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

using namespace std::chrono_literals;

namespace {

constexpr TransferWaits NoWaits{0ms, 0ms, 0ms};

// Opens a progress dialog for `job` the way exec() does, without its modal loop.
struct RunningJob {
    RunningJob(JobFixture &f, int job, TransferWaits waits = NoWaits)
        : dialog(f)
    {
        dialog.DeviceJob = job;
        dialog.setWaits(waits);
        started = dialog.initialise();
        if (started)
            dialog.show();
    }

    // Spins until the dialog closed; its result.
    CNuboDialogProgress::Result finish(int timeoutMs = 20000)
    {
        EXPECT_TRUE(waitUntil([&] { return dialog.closedMs >= 0; }, timeoutMs));
        return dialog.outcome();
    }

    WatchedProgress dialog;
    bool started = false;
};

CNuboDialogProgress::Result runJob(JobFixture &f, int job, TransferWaits waits = NoWaits)
{
    RunningJob running(f, job, waits);
    EXPECT_TRUE(running.started);
    return running.finish();
}

LightSettings distinctLights()
{
    LightSettings lights{};
    for (int key = 1; key <= 108; ++key)
        lights[std::size_t(key)] = {key * 2 % 256, 255 - key, key};
    return lights;
}

// What the model carries that a round trip through the keyboard keeps.
void expectSameKeys(const AppState &written, const AppState &read)
{
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= 108; ++key) {
            SCOPED_TRACE(testing::Message() << "key " << key << " layer " << layer);
            const KeyAssignment a = written.assignment(key, layer);
            const KeyAssignment b = read.assignment(key, layer);
            ASSERT_EQ(a.category, b.category);
            if (a.category == KeyAssignment::Single)
                EXPECT_EQ(a.code, b.code);
            else if (a.category == KeyAssignment::Macro)
                EXPECT_EQ(a.action.names.size(), b.action.names.size());
            else
                EXPECT_EQ(a.action.names, b.action.names);
        }
    }
}

} // namespace

TEST(ProgressDialog, EveryJobDoesItsExchangeAndTakesWhatItReadIntoTheModel)
{
    JobFixture f(4);
    // 1: the keys reach the keyboard; 3 brings them and the lights back into a reset model.
    assignEveryKey(f.state);
    ASSERT_EQ(runJob(f, TransferJob::WriteKeys), CNuboDialogProgress::Succeeded);
    JobFixture reader(4);
    reader.keyboard->setMemory(f.keyboard->memory());
    quillosim::KeyboardMemory memory = reader.keyboard->memory();
    const LightArea::Values lights = LightArea::fromSettings(distinctLights());
    for (std::size_t i = 0; i < lights.size(); ++i)
        memory.lights[i] = std::uint8_t(lights[i]);
    reader.keyboard->setMemory(memory);
    ASSERT_EQ(runJob(reader, TransferJob::ReadKeysAndLights), CNuboDialogProgress::Succeeded);
    expectSameKeys(f.state, reader.state);
    EXPECT_EQ(reader.state.lightSettings, distinctLights());

    // 4 writes the model's lights, 6 reads the keyboard's.
    f.state.lightSettings = distinctLights();
    ASSERT_EQ(runJob(f, TransferJob::WriteLights), CNuboDialogProgress::Succeeded);
    EXPECT_EQ(f.keyboard->memory().lights, memory.lights);
    f.state.lightSettings = {};
    ASSERT_EQ(runJob(f, TransferJob::ReadLights), CNuboDialogProgress::Succeeded);
    EXPECT_EQ(f.state.lightSettings, distinctLights());

    // 5 fills the counters and finds the most and the least pressed key.
    ASSERT_EQ(runJob(f, TransferJob::ReadCounters), CNuboDialogProgress::Succeeded);
    for (int key = 1; key <= 108; ++key)
        EXPECT_EQ(std::uint32_t(f.state.pressCounters.counts[std::size_t(key)]),
                  f.keyboard->memory().counters[std::size_t(key - 1)]);
    ASSERT_GE(f.state.pressCounters.highestKey, 1);
    EXPECT_STREQ(MainWindowTable::keyCaption(f.state.pressCounters.highestKey), "Space");
    EXPECT_STREQ(MainWindowTable::keyCaption(f.state.pressCounters.lowestKey), "Pause");
}

TEST(ProgressDialog, KeyWriteCountsEverySlotAndClosesASecondAfterTheLast)
{
    JobFixture f(4);
    assignEveryKey(f.state);
    // When the last report left the worker, on the keyboard's side of the cable.
    std::atomic<std::int64_t> lastReportNs{0};
    f.keyboard->setTraceObserver([&lastReportNs](const quillosim::TraceEntry &) {
        lastReportNs = std::chrono::steady_clock::now().time_since_epoch().count();
    });
    RunningJob running(f, TransferJob::WriteKeys, {1000ms, 0ms, 0ms});
    ASSERT_TRUE(running.started);
    EXPECT_EQ(running.dialog.progress(), 1);
    ASSERT_EQ(running.finish(), CNuboDialogProgress::Succeeded);

    const WatchedProgress &d = running.dialog;
    ASSERT_EQ(d.units.size(), 216u);
    for (std::size_t i = 0; i < d.units.size(); ++i) {
        EXPECT_EQ(d.units[i], i);
        // Full once slot 150 is done, and for the rest of the keys.
        EXPECT_EQ(d.barAfter[i], std::min<int>(100, int(i) * 100 / 150)) << i;
    }
    EXPECT_EQ(d.barAfter[149], 99);
    EXPECT_EQ(d.barAfter[150], 100);
    // The keyboard stores to flash for a second after the end report before the dialog
    // closes (a loaded machine may add to it, never take from it).
    const auto pause = std::chrono::duration_cast<std::chrono::milliseconds>(
        d.closedAt.time_since_epoch() - std::chrono::steady_clock::duration(lastReportNs.load()));
    EXPECT_GE(pause.count(), 1000);
    EXPECT_LT(pause.count(), 2500);
    f.keyboard->setTraceObserver({});

    // The single-step jobs go from 1 % to full at once.
    RunningJob counters(f, TransferJob::ReadCounters);
    ASSERT_EQ(counters.finish(), CNuboDialogProgress::Succeeded);
    EXPECT_EQ(counters.dialog.units, std::vector<std::uintptr_t>{150});
    EXPECT_EQ(counters.dialog.barAfter, std::vector<int>{100});
}

TEST(ProgressDialog, CancelClosesAtOnceAndTheNextJobWaitsForTheEarlierWorker)
{
    JobFixture f(4);
    // Slow enough that the read is still running when Cancel is pressed.
    f.keyboard->setReportInterval(1ms);
    const std::array<int, 218> before = f.state.category;
    const LightSettings lightsBefore = f.state.lightSettings;
    RunningJob read(f, TransferJob::ReadKeysAndLights, {0ms, 300ms, 0ms});
    ASSERT_TRUE(read.started);
    ASSERT_TRUE(waitUntil([&] { return !read.dialog.units.empty(); }));
    QElapsedTimer clock;
    clock.start();
    read.dialog.clickCancel();
    EXPECT_EQ(read.dialog.outcome(), CNuboDialogProgress::Cancelled);
    EXPECT_GE(read.dialog.closedMs, 0);
    EXPECT_LT(clock.elapsed(), 50);
    EXPECT_FALSE(read.dialog.isVisible());
    EXPECT_EQ(read.dialog.progress(), 0);
    ASSERT_TRUE(f.worker.isRunning());

    // The next job says it finishes the earlier exchange and starts only after it.
    RunningJob next(f, TransferJob::ReadCounters);
    ASSERT_TRUE(next.started);
    EXPECT_TRUE(next.dialog.isWaitingForEarlierWorker());
    f.state.language = "en-US";
    const int label = next.dialog.table().indexOfId(187);
    EXPECT_EQ(next.dialog.table()[std::size_t(label)].caption("en-US"),
              JobMessages::finishingEarlierExchange(false));
    ASSERT_EQ(next.finish(), CNuboDialogProgress::Succeeded);
    EXPECT_EQ(next.dialog.table()[std::size_t(label)].caption("en-US"),
              "Keep the keyboard connected!");
    // The cancelled read ran to its end but changed nothing the user sees.
    EXPECT_EQ(f.state.category, before);
    EXPECT_EQ(f.state.lightSettings, lightsBefore);
    EXPECT_GE(f.state.pressCounters.highestKey, 1);

    // Escape is the Cancel button.
    RunningJob escaped(f, TransferJob::ReadCounters, {0ms, 0ms, 300ms});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&escaped.dialog, &escape);
    EXPECT_EQ(escaped.dialog.outcome(), CNuboDialogProgress::Cancelled);
    EXPECT_GE(escaped.dialog.closedMs, 0);
    finishWorkers(f.worker);

    // Any other job code closes at once as cancelled, without a worker.
    for (int code : {0, 2, 7, -1}) {
        CNuboDialogProgress odd(f.context(), f.device(), f.progressSkin());
        odd.setJobData(f.data());
        odd.DeviceJob = code;
        EXPECT_EQ(odd.exec(), CNuboDialogProgress::Cancelled) << code;
        EXPECT_FALSE(f.worker.isRunning());
    }
    // So does a job without the data it reads and fills.
    CNuboDialogProgress bare(f.context(), f.device(), f.progressSkin());
    bare.DeviceJob = TransferJob::ReadCounters;
    EXPECT_EQ(bare.exec(), CNuboDialogProgress::Cancelled);
    EXPECT_FALSE(f.worker.isRunning());
}

TEST(ProgressDialog, AReadFillsTheDataItWasGivenOnlyOnceItSucceeded)
{
    JobFixture f(4);
    f.state.lightSettings = distinctLights();
    ASSERT_EQ(runJob(f, TransferJob::WriteLights), CNuboDialogProgress::Succeeded);
    f.state.lightSettings = {};

    Configuration other;
    PressCounters otherCounters;
    const JobData data{f.state.catalogue, other, otherCounters};
    ASSERT_EQ(CNuboDialogProgress::runJob(f.context(), f.device(), data, f.progressSkin(),
                                          TransferJob::ReadLights, nullptr, nullptr, NoWaits),
              CNuboDialogProgress::Succeeded);
    ASSERT_EQ(CNuboDialogProgress::runJob(f.context(), f.device(), data, f.progressSkin(),
                                          TransferJob::ReadCounters, nullptr, nullptr, NoWaits),
              CNuboDialogProgress::Succeeded);
    EXPECT_EQ(other.lightSettings, distinctLights());
    EXPECT_GE(otherCounters.highestKey, 1);
    // The program's own configuration and counters are not the job's.
    EXPECT_EQ(f.state.lightSettings, LightSettings{});
    EXPECT_EQ(f.state.pressCounters.highestKey, -1);

    // A read that fails hands nothing over.
    other.lightSettings = {};
    quillosim::SimFaults faults;
    faults.failReadAt = 1;
    f.keyboard->setFaults(faults);
    EXPECT_EQ(CNuboDialogProgress::runJob(f.context(), f.device(), data, f.progressSkin(),
                                          TransferJob::ReadLights, nullptr, nullptr, NoWaits),
              CNuboDialogProgress::Failed);
    EXPECT_EQ(other.lightSettings, LightSettings{});
}

TEST(ProgressDialog, ACancelledKeyWriteClosesAtOnceAndSendsWhatWasConfirmed)
{
    JobFixture f(4);
    // Large macros, and a keyboard slow enough that the write still runs while the user
    // edits again.
    ActionList macro(9);
    for (int i = 0; i < 2000; ++i) {
        macro.setAt(20000, "A Down");
        macro.setAt(20000, "<5 ms>");
    }
    for (int key = 1; key <= 12; ++key)
        f.state.setAssignment(key, 0, {KeyAssignment::Macro, 0, macro});
    f.keyboard->setReportInterval(200us);
    RunningJob write(f, TransferJob::WriteKeys);
    ASSERT_TRUE(write.started);
    ASSERT_TRUE(waitUntil([&] { return f.worker.isRunning(); }));
    write.dialog.clickCancel();
    EXPECT_EQ(write.dialog.outcome(), CNuboDialogProgress::Cancelled);
    EXPECT_GE(write.dialog.closedMs, 0);
    ASSERT_TRUE(f.worker.isRunning());

    // What the user changes now is not what the running write sends.
    const KeyAssignment sent = f.state.assignment(12, 0);
    for (int key = 1; key <= 12; ++key)
        f.state.setAssignment(key, 0, {KeyAssignment::Single, 0x05, {}});
    finishWorkers(f.worker);

    JobFixture reader(4);
    reader.keyboard->setMemory(f.keyboard->memory());
    ASSERT_EQ(runJob(reader, TransferJob::ReadKeysAndLights), CNuboDialogProgress::Succeeded);
    const KeyAssignment read = reader.state.assignment(12, 0);
    EXPECT_EQ(read.category, KeyAssignment::Macro);
    EXPECT_EQ(read.action.names.size(), sent.action.names.size() - 1); // the last delay stays
}

// A large configuration is encoded a slice at a time while the window stays live (these 40
// keys take some 20 ms, the slice is 5 ms); a cancel meanwhile sends nothing at all.
TEST(ProgressDialog, ACancelWhileTheKeysAreStillEncodedSendsNothing)
{
    JobFixture f(4);
    ActionList macro(9);
    for (int i = 0; i < 16000; ++i) {
        macro.setAt(20000, "A Down");
        macro.setAt(20000, "<5 ms>");
    }
    for (int key = 1; key <= 40; ++key)
        f.state.setAssignment(key, 1, {KeyAssignment::Macro, 0, macro});
    f.keyboard->clearTrace();
    RunningJob write(f, TransferJob::WriteKeys);
    ASSERT_TRUE(write.started);
    EXPECT_FALSE(f.worker.isRunning());
    write.dialog.clickCancel();
    EXPECT_EQ(write.dialog.outcome(), CNuboDialogProgress::Cancelled);
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.worker.isRunning());
    EXPECT_TRUE(f.keyboard->trace().empty());
}

// The emulator's faults end every job as failed, with the failure message, and a failed read
// leaves the model as it was.
TEST(ProgressDialog, KeyboardFaultsEndEveryJobAsFailedAndLeaveTheModel)
{
    struct Fault {
        const char *name;
        quillosim::SimFaults faults;
        bool unplug;
        std::vector<int> jobs; // a write has no answer to miss
    };
    quillosim::SimFaults silent;
    silent.silent = true;
    quillosim::SimFaults garbage;
    garbage.garbage = true;
    quillosim::SimFaults brokenWrite;
    brokenWrite.failWriteAt = 1;
    quillosim::SimFaults brokenRead;
    brokenRead.failReadAt = 2;
    // Records claiming more codes than a report holds, half-way through the keys.
    quillosim::SimFaults oversize;
    oversize.oversize = true;
    oversize.afterReports = 112;
    const std::vector<int> all{1, 3, 4, 5, 6};
    const std::vector<int> reads{3, 5, 6};
    const std::vector<Fault> faults = {{"unplugged", {}, true, all},
                                       {"write fails", brokenWrite, false, all},
                                       {"read fails", brokenRead, false, reads},
                                       {"silent", silent, false, reads},
                                       {"garbage", garbage, false, reads},
                                       {"oversize records", oversize, false, {3}}};
    for (const Fault &fault : faults) {
        for (int job : fault.jobs) {
            SCOPED_TRACE(testing::Message() << fault.name << ", job " << job);
            JobFixture f(4);
            f.keyboard->setReadWaitLimit(50ms);
            assignEveryKey(f.state);
            f.state.lightSettings = distinctLights();
            const std::array<int, 218> categories = f.state.category;
            const std::array<int, 218> codes = f.state.code;
            const PressCounters counters = f.state.pressCounters;
            if (fault.unplug)
                f.keyboard->unplug();
            f.keyboard->setFaults(fault.faults);

            RunningJob running(f, job);
            ASSERT_TRUE(running.started);
            ASSERT_EQ(running.finish(), CNuboDialogProgress::Failed);
            EXPECT_EQ(running.dialog.transferResult().status, TransferResult::Status::DeviceFailed);
            EXPECT_EQ(f.state.category, categories);
            EXPECT_EQ(f.state.code, codes);
            EXPECT_EQ(f.state.lightSettings, distinctLights());
            EXPECT_EQ(f.state.pressCounters.counts, counters.counts);
            const std::string message
                = JobMessages::failure(job, running.dialog.transferResult(), false);
            EXPECT_EQ(message,
                      job == 1 || job == 4
                          ? "Writing to the keyboard failed. Check the cable and try again."
                          : "Reading from the keyboard failed. Check the cable and try "
                            "again.");
        }
    }
}

TEST(ProgressDialog, AKeyTheKeyboardCannotHoldIsNamedAndNothingIsSent)
{
    JobFixture f(4);
    ActionList combo(6);
    for (int i = 0; i < 70; ++i)
        combo.setAt(20000, "A");
    f.state.setAssignment(30, 1, {KeyAssignment::Combo, 0, combo});
    f.keyboard->clearTrace();
    RunningJob running(f, TransferJob::WriteKeys);
    ASSERT_EQ(running.finish(), CNuboDialogProgress::Failed);
    EXPECT_EQ(running.dialog.transferResult().status, TransferResult::Status::AssignmentRefused);
    EXPECT_TRUE(f.keyboard->trace().empty());
    EXPECT_EQ(JobMessages::failure(1, running.dialog.transferResult(), false),
              "Key W on the Fn layer holds more than the keyboard can store. Nothing was "
              "written.");
}

// A step the keyboard would play as something else stops Write key settings as it stops
// quillo-cli's write: a delay where a key belongs would press ESC.
TEST(ProgressDialog, AStepTheKeyboardWouldMisreadIsNamedAndNothingIsSent)
{
    JobFixture f(4);
    ActionList macro(9);
    for (const char *step : {"A Down", "<1 ms>", "A UP"})
        macro.setAt(20000, step);
    macro.autoDelay = true;
    f.state.setAssignment(30, 0, {KeyAssignment::Macro, 0, macro});
    f.keyboard->clearTrace();
    RunningJob running(f, TransferJob::WriteKeys);
    ASSERT_EQ(running.finish(), CNuboDialogProgress::Failed);
    EXPECT_TRUE(f.keyboard->trace().empty());
    EXPECT_EQ(JobMessages::failure(1, running.dialog.transferResult(), false),
              "Key W on the top layer: step 2 (<1 ms>) is a delay where a key belongs; the "
              "keyboard would press ESC instead. Nothing was written.");
    EXPECT_EQ(JobMessages::failure(1, running.dialog.transferResult(), true),
              "顶层按键 W 的第 2 步（<1 ms>）是延时，却处在按键的位置，键盘会把它当作按键 "
              "ESC。没有写入任何内容。");
}
