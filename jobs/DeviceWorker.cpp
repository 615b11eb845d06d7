#include "jobs/DeviceWorker.h"

// Forwards the worker's posts to the window that started it and its progress to a window that
// waits for it; either may be replaced or dropped while the worker runs.
class DeviceWorker::Relay : public MessageTarget {
public:
    explicit Relay(std::shared_ptr<MessageTarget> owner)
        : m_owner(std::move(owner))
    {}

    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mutex);
        if (m_owner)
            m_owner->post(message, wParam, lParam);
        if (m_watcher && message == quillodev::DeviceMessageProgress)
            m_watcher->post(message, wParam, lParam);
    }

    void setWatcher(std::shared_ptr<MessageTarget> watcher)
    {
        std::lock_guard lock(m_mutex);
        m_watcher = std::move(watcher);
    }

private:
    std::mutex m_mutex;
    std::shared_ptr<MessageTarget> m_owner;
    std::shared_ptr<MessageTarget> m_watcher;
};

DeviceWorker::~DeviceWorker()
{
    wait();
}

bool DeviceWorker::start(Task task, std::shared_ptr<MessageTarget> owner, Work work)
{
    std::unique_lock lock(m_mutex);
    if (m_task != Task::None || task == Task::None || !work)
        return false;
    // The earlier thread has finished its work; joining it costs nothing.
    std::thread earlier = std::move(m_thread);
    lock.unlock();
    if (earlier.joinable())
        earlier.join();
    lock.lock();
    if (m_task != Task::None)
        return false;

    m_task = task;
    auto relay = std::make_shared<Relay>(std::move(owner));
    m_relay = relay;
    m_thread = std::thread([this, relay, work = std::move(work)] {
        work(relay.get());
        finished();
    });
    return true;
}

void DeviceWorker::finished()
{
    std::vector<std::shared_ptr<MessageTarget>> targets;
    {
        std::lock_guard lock(m_mutex);
        m_task = Task::None;
        m_relay.reset();
        targets.swap(m_idleTargets);
    }
    for (const std::shared_ptr<MessageTarget> &target : targets)
        target->post(WorkerIdleMessage, 0, 0);
}

bool DeviceWorker::isRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_task != Task::None;
}

DeviceWorker::Task DeviceWorker::task() const
{
    std::lock_guard lock(m_mutex);
    return m_task;
}

void DeviceWorker::notifyWhenIdle(std::shared_ptr<MessageTarget> target)
{
    if (!target)
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_task != Task::None) {
            m_idleTargets.push_back(std::move(target));
            return;
        }
    }
    target->post(WorkerIdleMessage, 0, 0);
}

void DeviceWorker::watch(std::shared_ptr<MessageTarget> watcher)
{
    std::lock_guard lock(m_mutex);
    if (m_relay)
        m_relay->setWatcher(std::move(watcher));
}

void DeviceWorker::wait()
{
    std::unique_lock lock(m_mutex);
    std::thread running = std::move(m_thread);
    lock.unlock();
    if (running.joinable())
        running.join();
}
