#pragma once

#include "jobs/DeviceAccess.h"
#include "jobs/JobData.h"
#include "jobs/ProgressBar.h"
#include "jobs/TransferJob.h"
#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

#include <memory>
#include <optional>

// The modal progress window of every device job but the firmware download. The caller sets
// DeviceJob and the job's data and runs it; the dialog takes what the job sends from the model
// (the key write encodes it a slice per turn of the event loop), then starts one worker for
// the job (on the program's DeviceWorker), draws the bar from the worker's progress messages
// and closes itself when the job posts done, handing what a read brought to the model. Cancel
// closes at once: before the worker started nothing is sent, after it the worker finishes on its
// own and its later posts are dropped. If an earlier worker still runs when the dialog opens, the
// dialog first says it is finishing that exchange and starts its own job only once it has ended, so
// that two threads never talk to the keyboard.
//
// How to run a job and learn how it ended:
//
//     TransferResult detail;
//     switch (CNuboDialogProgress::runJob(context, device, data, skin, TransferJob::WriteLights,
//                                         this, &detail)) {
//     case CNuboDialogProgress::Succeeded: ...            // the model holds what was read
//     case CNuboDialogProgress::Failed:                   // say so:
//         JobMessages::failure(TransferJob::WriteLights, detail, context.chinese()); ...
//     case CNuboDialogProgress::Cancelled: break;         // silent: the user chose it
//     }
class CNuboDialogProgress : public SkinnedDialog {
    Q_OBJECT
public:
    // The modal result.
    enum Result : int {
        Cancelled = 0, // QDialog::Rejected: the user closed it, or the job code is unknown
        Succeeded = 1, // QDialog::Accepted: the job posted done and every exchange succeeded
        Failed = 2,    // the keyboard did not answer as expected, or a key did not fit
    };

    CNuboDialogProgress(const DialogContext &context, DeviceAccess device, const SkinImages &skin,
                        QWidget *parent = nullptr);
    ~CNuboDialogProgress() override;

    // The job code, set before the dialog is shown: 1, 3, 4, 5 or 6 (TransferJob::Code).
    int DeviceJob = 0;
    // What the job sends and where what it reads goes; without it the dialog runs no job.
    void setJobData(const JobData &data) { m_data.emplace(data); }

    // The pauses in which the keyboard stores to flash (tests shorten them).
    void setWaits(const TransferJob::Waits &waits) { m_waits = waits; }
    // Instead of a job: shows the dialog only while an earlier worker runs and ends with
    // Succeeded once it has ended (at once when none runs).
    void setWaitOnly(bool waitOnly) { m_waitOnly = waitOnly; }

    Result outcome() const { return m_outcome; }
    // For Failed: which exchange failed, or which key did not fit the keyboard.
    const TransferResult &transferResult() const { return m_result; }
    // The bar's percentage, 0..100.
    int progress() const { return m_bar.percent(); }
    bool isWaitingForEarlierWorker() const { return m_waitingForEarlier; }

    // Runs `job` in a progress dialog over `parent` and returns how it ended.
    static Result runJob(const DialogContext &context, DeviceAccess device, const JobData &data,
                         const SkinImages &skin, int job, QWidget *parent,
                         TransferResult *detail = nullptr, const TransferJob::Waits &waits = {});
    // For any other use of the keyboard: true at once when no worker runs; otherwise shows
    // the dialog until it has ended, and false when the user cancelled the wait.
    static bool waitForDevice(const DialogContext &context, DeviceAccess device,
                              const SkinImages &skin, QWidget *parent);

    // Escape and the desktop's close take the Cancel button's way.
    void reject() override;

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void postedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override;
    QColor captionColour(const DrawnButton &entry) const override;
    void afterEntries(QPainter &painter) override;

private:
    void waitForEarlierWorker();
    void startJob();
    void prepareJob();
    void setProgress(int percent);
    void setMessage(const DrawnButton::Texts &captions);
    void closeWith(Result result);
    void cancel();

    DeviceAccess m_device;
    std::optional<JobData> m_data;
    TransferJob::Waits m_waits;
    std::shared_ptr<TransferJob> m_job;
    TransferResult m_result;
    DrawnButton::Texts m_jobMessage; // the label's own text, back after a wait
    Result m_outcome = Cancelled;
    ProgressBar m_bar;
    bool m_waitOnly = false;
    bool m_waitingForEarlier = false;
    bool m_closed = false;
};
