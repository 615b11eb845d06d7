#pragma once

#include <quillodev/MessageTarget.h>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Posted to a window waiting for the device: the worker has ended and none runs.
constexpr unsigned int WorkerIdleMessage = 0x469;

// The one thread that may talk to the keyboard besides the user-interface thread's short
// queries. A dialog starts a worker for a job or a firmware download and may close before it
// ends: the worker runs on, posting into a target that drops what arrives after the window is
// gone. Whoever wants the device next waits until the worker is idle; the process waits for
// it before the device facade goes away.
class DeviceWorker {
public:
    enum class Task {
        None,
        Exchange,         // a job of the progress dialog
        FirmwareDownload, // must never be cut short
    };
    // Runs on the worker thread; what it posts to `window` reaches the starter's target and,
    // for progress, a window that waits (watch()).
    using Work = std::function<void(WindowHandle window)>;

    DeviceWorker() = default;
    ~DeviceWorker(); // waits for a running worker
    DeviceWorker(const DeviceWorker &) = delete;
    DeviceWorker &operator=(const DeviceWorker &) = delete;

    // Starts `work` on a new thread; false, starting nothing, while an earlier one runs.
    bool start(Task task, std::shared_ptr<MessageTarget> owner, Work work);
    bool isRunning() const;
    // What the running worker does; None when idle.
    Task task() const;

    // `target` gets WorkerIdleMessage when no worker runs any more, at once when none does.
    void notifyWhenIdle(std::shared_ptr<MessageTarget> target);
    // The running worker's progress messages also go to `watcher` (null: no longer).
    void watch(std::shared_ptr<MessageTarget> watcher);
    // Blocks until no worker runs. Not to be called from the worker itself.
    void wait();

private:
    class Relay;

    void finished();

    mutable std::mutex m_mutex;
    std::thread m_thread;
    Task m_task = Task::None;
    std::shared_ptr<Relay> m_relay;
    std::vector<std::shared_ptr<MessageTarget>> m_idleTargets;
};
