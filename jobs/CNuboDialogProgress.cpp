#include "jobs/CNuboDialogProgress.h"

#include "jobs/DeviceWorker.h"
#include "jobs/JobMessages.h"
#include "layout/ProgressTable.h"
#include "layout/WindowsColour.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

// Under a third of a frame at 60 Hz.
constexpr std::chrono::microseconds PrepareSlice{5000};

} // namespace

CNuboDialogProgress::CNuboDialogProgress(const DialogContext &context, DeviceAccess device,
                                         const SkinImages &skin, QWidget *parent)
    : SkinnedDialog(context, ProgressTable::EntryCount, ProgressTable::ColourKey, parent)
    , m_device(device)
    , m_bar(ProgressTable::BarArea, ProgressTable::BarWidth, 1)
{
    setSkin(skin);
    setWindowModality(Qt::ApplicationModal);
}

CNuboDialogProgress::~CNuboDialogProgress()
{
    // A worker this dialog watched keeps no way to it.
    if (m_waitingForEarlier)
        m_device.worker.watch(nullptr);
}

CNuboDialogProgress::Result CNuboDialogProgress::runJob(const DialogContext &context,
                                                        DeviceAccess device, const JobData &data,
                                                        const SkinImages &skin, int job,
                                                        QWidget *parent, TransferResult *detail,
                                                        const TransferJob::Waits &waits)
{
    CNuboDialogProgress dialog(context, device, skin, parent);
    dialog.DeviceJob = job;
    dialog.setJobData(data);
    dialog.setWaits(waits);
    dialog.exec();
    if (detail)
        *detail = dialog.transferResult();
    return dialog.outcome();
}

bool CNuboDialogProgress::waitForDevice(const DialogContext &context, DeviceAccess device,
                                        const SkinImages &skin, QWidget *parent)
{
    if (!device.worker.isRunning())
        return true;
    CNuboDialogProgress dialog(context, device, skin, parent);
    dialog.setWaitOnly(true);
    dialog.exec();
    return dialog.outcome() == Succeeded;
}

void CNuboDialogProgress::fillTable(ButtonTable &table)
{
    table.assign(ProgressTable::build());
}

bool CNuboDialogProgress::initDialog()
{
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());
    setWindowTitle(QString::fromStdString(
        table()[std::size_t(table().indexOfId(ProgressTable::TitleLabel))].caption(language())));
    m_jobMessage = table()[std::size_t(table().indexOfId(ProgressTable::MessageLabel))].captions;
    m_bar.reset(1);

    if (m_waitOnly) {
        if (!m_device.worker.isRunning()) {
            m_outcome = Succeeded;
            setResult(Succeeded);
            return false;
        }
        waitForEarlierWorker();
        return true;
    }
    // The callers use only the known codes; anything else ends at once as cancelled.
    if (!TransferJob::isJob(DeviceJob) || !m_data) {
        m_outcome = Cancelled;
        setResult(Cancelled);
        return false;
    }
    if (m_device.worker.isRunning())
        waitForEarlierWorker();
    else
        startJob();
    return true;
}

void CNuboDialogProgress::waitForEarlierWorker()
{
    m_waitingForEarlier = true;
    const bool download = m_device.worker.task() == DeviceWorker::Task::FirmwareDownload;
    DrawnButton::Texts waiting;
    waiting["zh-CN"] = download ? JobMessages::finishingFirmwareDownload(true)
                                : JobMessages::finishingEarlierExchange(true);
    waiting["en-US"] = download ? JobMessages::finishingFirmwareDownload(false)
                                : JobMessages::finishingEarlierExchange(false);
    setMessage(waiting);
    // The bar follows the earlier exchange until it ends.
    m_device.worker.watch(messageTarget());
    m_device.worker.notifyWhenIdle(messageTarget());
}

void CNuboDialogProgress::startJob()
{
    m_job = std::make_shared<TransferJob>(m_device.hwi, *m_data, DeviceJob, m_waits);
    prepareJob();
}

void CNuboDialogProgress::prepareJob()
{
    if (m_closed || !m_job)
        return;
    // What the worker sends is taken here, a slice per turn of the event loop.
    if (!m_job->prepare(PrepareSlice)) {
        QTimer::singleShot(0, this, &CNuboDialogProgress::prepareJob);
        return;
    }
    const std::shared_ptr<TransferJob> job = m_job;
    if (!m_device.worker.start(DeviceWorker::Task::Exchange, messageTarget(),
                               [job](WindowHandle window) { job->run(window); })) {
        // Someone took the device first; wait for them too.
        m_job.reset();
        waitForEarlierWorker();
    }
}

void CNuboDialogProgress::setMessage(const DrawnButton::Texts &captions)
{
    const int index = table().indexOfId(ProgressTable::MessageLabel);
    if (index < 0)
        return;
    table()[std::size_t(index)].captions = captions;
    update();
}

void CNuboDialogProgress::postedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t)
{
    if (m_closed)
        return;
    switch (message) {
    case quillodev::DeviceMessageProgress: {
        // Jobs 1 and 3 count the 216 key slots, so the bar is full from slot 150; the others
        // post 150 once. An earlier exchange or download is shown on the 0..150 scale.
        const bool bySlot = m_waitingForEarlier || DeviceJob == TransferJob::WriteKeys
                            || DeviceJob == TransferJob::ReadKeysAndLights;
        const long long units = static_cast<long long>(std::min<std::uintptr_t>(wParam, 1u << 20));
        setProgress(
            int(std::min<long long>(100, units * (bySlot ? 100 : 200) / quillodev::ProgressScale)));
        break;
    }
    case quillodev::DeviceMessageDone:
        if (!m_job)
            return; // an earlier worker's, meant for its own window
        m_result = m_job->finish();
        closeWith(m_result ? Succeeded : Failed);
        break;
    case WorkerIdleMessage:
        if (!m_waitingForEarlier || m_job)
            return;
        m_waitingForEarlier = false;
        m_device.worker.watch(nullptr);
        if (m_waitOnly) {
            closeWith(Succeeded);
            return;
        }
        setMessage(m_jobMessage);
        setProgress(1);
        startJob();
        break;
    default:
        break;
    }
}

void CNuboDialogProgress::buttonClicked(int, DrawnButton &entry)
{
    if (entry.id == ProgressTable::CloseButton || entry.id == ProgressTable::CancelButton)
        cancel();
}

void CNuboDialogProgress::reject()
{
    cancel();
}

void CNuboDialogProgress::cancel()
{
    if (m_closed)
        return;
    setProgress(0);
    closeWith(Cancelled);
}

void CNuboDialogProgress::closeWith(Result result)
{
    if (m_closed)
        return;
    m_closed = true;
    m_outcome = result;
    if (m_waitingForEarlier)
        m_device.worker.watch(nullptr);
    done(result);
}

void CNuboDialogProgress::setProgress(int percent)
{
    update(m_bar.setPercent(percent, scale()));
}

QColor CNuboDialogProgress::captionColour(const DrawnButton &entry) const
{
    return colourFromWindows(entry.checked ? 0xBE0000 : 0xC8C8C8);
}

void CNuboDialogProgress::afterEntries(QPainter &painter)
{
    m_bar.paint(painter, skinImages());
}
