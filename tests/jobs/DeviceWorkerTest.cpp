#include "jobs/DeviceWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Inbox : MessageTarget {
    std::mutex mutex;
    std::vector<unsigned int> messages;
    void post(unsigned int message, std::uintptr_t, std::intptr_t) override
    {
        std::lock_guard lock(mutex);
        messages.push_back(message);
    }
    std::vector<unsigned int> taken()
    {
        std::lock_guard lock(mutex);
        return messages;
    }
};

// Holds a worker until the test lets it go.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    void wait()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return open; });
    }
    void release()
    {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

} // namespace

// One worker at a time; its posts reach the window that started it, and only its progress a
// window that waits for it; whoever waits hears when it has ended.
TEST(DeviceWorker, RunsOneAtATimeAndTellsWhoWaitsWhenItHasEnded)
{
    DeviceWorker worker;
    auto owner = std::make_shared<Inbox>();
    auto watcher = std::make_shared<Inbox>();
    auto waiting = std::make_shared<Inbox>();
    Gate gate;
    ASSERT_TRUE(worker.start(DeviceWorker::Task::FirmwareDownload, owner, [&](WindowHandle w) {
        gate.wait();
        postTo(w, quillodev::DeviceMessageProgress, 75, 0);
        postTo(w, quillodev::DeviceMessageDone, 1, 0);
    }));
    EXPECT_TRUE(worker.isRunning());
    EXPECT_EQ(worker.task(), DeviceWorker::Task::FirmwareDownload);
    EXPECT_FALSE(worker.start(DeviceWorker::Task::Exchange, owner, [](WindowHandle) {}));
    worker.watch(watcher);
    worker.notifyWhenIdle(waiting);
    EXPECT_TRUE(waiting->taken().empty());

    gate.release();
    worker.wait();
    EXPECT_FALSE(worker.isRunning());
    EXPECT_EQ(worker.task(), DeviceWorker::Task::None);
    EXPECT_EQ(owner->taken(), (std::vector<unsigned int>{quillodev::DeviceMessageProgress,
                                                         quillodev::DeviceMessageDone}));
    // Done is the starter's alone: a waiting window must not take it for its own.
    EXPECT_EQ(watcher->taken(), std::vector<unsigned int>{quillodev::DeviceMessageProgress});
    EXPECT_EQ(waiting->taken(), std::vector<unsigned int>{WorkerIdleMessage});

    // Idle already: told at once. The next worker starts after the last one ended.
    auto late = std::make_shared<Inbox>();
    worker.notifyWhenIdle(late);
    EXPECT_EQ(late->taken(), std::vector<unsigned int>{WorkerIdleMessage});
    std::atomic<bool> ran{false};
    ASSERT_TRUE(worker.start(DeviceWorker::Task::Exchange, nullptr, [&ran](WindowHandle w) {
        postTo(w, quillodev::DeviceMessageDone, 0, 0); // to nobody
        ran = true;
    }));
    worker.wait();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(worker.start(DeviceWorker::Task::None, nullptr, [](WindowHandle) {}));
}

TEST(DeviceWorker, ItsEndWaitsForARunningWorker)
{
    std::atomic<bool> finished{false};
    {
        DeviceWorker worker;
        worker.start(DeviceWorker::Task::Exchange, nullptr, [&finished](WindowHandle) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}
