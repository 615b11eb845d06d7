#include "app/DeviceCommands.h"

#include "app/BacklightCommand.h"
#include "app/CommandWindow.h"
#include "app/DocumentLauncher.h"
#include "app/HelpDocument.h"
#include "jobs/CNuboDialogFirmwareUpdate.h"
#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceWorker.h"
#include "jobs/JobMessages.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"
#include "skin/SkinLibrary.h"

#include <optional>

DeviceCommands::DeviceCommands(CommandWindow &window, AppState &state, const DialogContext &context,
                               DeviceAccess device)
    : m_window(window)
    , m_state(state)
    , m_context(context)
    , m_device(device)
    , m_backlight(std::make_unique<BacklightCommand>(state, context, device))
    , m_launcher(std::make_unique<DocumentLauncher>())
    , m_openDocument(
          [launcher = m_launcher.get()](const QString &path, std::function<void()> failed) {
              launcher->open(path, std::move(failed));
          })
    , m_helpLocator(ResourceLocator::forThisProgram())
    , m_showsCompiledHelp(&HelpDocument::desktopShowsCompiled)
{
    // Offline the backlight dialog opens; its Read and Write say why they cannot run.
    m_backlight->setDeviceGate([this] { return m_window.refusesDeviceCommand(); });
}

DeviceCommands::~DeviceCommands() = default;

bool DeviceCommands::handles(int id)
{
    return id == GetCounterButton || id == HelpButton || id == WriteKeysButton || id == LoadButton
           || id == FirmwareButton || id == BacklightButton;
}

void DeviceCommands::run(int id)
{
    // Offline only the help and the backlight settings (colours are part of a profile made
    // offline) open; the others say the keyboard is not connected.
    if (id != HelpButton && id != BacklightButton && m_window.refusesDeviceCommand())
        return;
    switch (id) {
    case GetCounterButton:
        runJob(TransferJob::ReadCounters);
        break;
    case HelpButton:
        help();
        break;
    case WriteKeysButton:
        runJob(TransferJob::WriteKeys);
        break;
    case LoadButton:
        runJob(TransferJob::ReadKeysAndLights);
        break;
    case FirmwareButton:
        firmwareUpdate();
        break;
    case BacklightButton:
        backlight();
        break;
    default:
        break;
    }
}

JobData DeviceCommands::jobData()
{
    return {m_state.catalogue, m_state, m_state.pressCounters};
}

void DeviceCommands::runJob(int job)
{
    AppState &state = m_state;
    m_inDeviceDialog = true;
    // What Load replaces, for undo.
    std::optional<ConfigHistory::Before> before;
    if (job == TransferJob::ReadKeysAndLights)
        before = ConfigHistory::capture(state, ConfigHistory::Scope::keysAndLights());
    TransferResult detail;
    const CNuboDialogProgress::Result outcome
        = CNuboDialogProgress::runJob(m_context, m_device, jobData(), skin(SkinDialog::Progress),
                                      job, m_window.commandOwner(), &detail, m_waits);
    if (outcome == CNuboDialogProgress::Succeeded && before)
        state.history.record(ConfigHistory::Change::Load, std::move(*before));
    // Written or just read: the keyboard holds the keys as they are now.
    if (outcome == CNuboDialogProgress::Succeeded
        && (job == TransferJob::WriteKeys || job == TransferJob::ReadKeysAndLights))
        state.history.markKeyboardHolds();
    // Stopped half-way: the keyboard holds neither these keys nor those it had, whatever undo
    // brings back, until a write succeeds.
    if (outcome == CNuboDialogProgress::Failed
        && detail.status == TransferResult::Status::PartlyWritten) {
        state.notWritten = true;
        state.history.markKeyboardHoldsNone();
    }
    showJobOutcome(job, outcome, detail);
    leaveDeviceDialog();
}

void DeviceCommands::showJobOutcome(int job, int outcome, const TransferResult &detail)
{
    AppState &state = m_state;
    const bool writeOrLoad = job == TransferJob::WriteKeys || job == TransferJob::ReadKeysAndLights;
    if (outcome == CNuboDialogProgress::Succeeded) {
        if (job == TransferJob::WriteKeys)
            state.notWritten = false;
        m_window.tellUser(caption(writeOrLoad), QStringLiteral("OK!!"), QMessageBox::Warning);
    } else if (outcome == CNuboDialogProgress::Failed) {
        // Cancel stays silent: the user chose it.
        m_window.tellUser(
            caption(writeOrLoad),
            text(JobMessages::failure(job, detail, true), JobMessages::failure(job, detail, false)),
            QMessageBox::Critical);
    }
    // The write leaves the picture as it was; what was read is shown either way.
    if (job != TransferJob::WriteKeys)
        m_window.commandOwner()->update();
}

void DeviceCommands::help()
{
    // No document, no complaint.
    const std::filesystem::path path
        = HelpDocument::choose(m_helpLocator, m_showsCompiledHelp(), m_state.chinese());
    if (path.empty())
        return;
    const QString file = QString::fromStdString(path.string());
    // Nothing to open it with is said, with where the guide lies, in the language of the moment.
    m_openDocument(file, [this, file] {
        m_window.tellUser(caption(false), HelpDocument::cannotOpen(file, m_state.chinese()),
                          QMessageBox::Warning);
    });
}

void DeviceCommands::setHelpLookup(ResourceLocator locator, std::function<bool()> showsCompiled)
{
    m_helpLocator = std::move(locator);
    m_showsCompiledHelp = std::move(showsCompiled);
}

void DeviceCommands::firmwareUpdate()
{
    m_inDeviceDialog = true;
    AppState &state = m_state;
    const SkinImages progressSkin = skin(SkinDialog::Progress);
    // The dialog reads the version as it opens.
    QWidget *owner = m_window.commandOwner();
    if (CNuboDialogProgress::waitForDevice(m_context, m_device, progressSkin, owner)) {
        CNuboDialogFirmwareUpdate dialog(m_context, m_device, state.catalogue, state.deviceType,
                                         skin(SkinDialog::FirmwareUpdate), progressSkin, owner);
        dialog.exec();
    }
    leaveDeviceDialog();
}

void DeviceCommands::backlight()
{
    // Its Read and Write run device jobs; a device change waits until it has closed.
    m_inDeviceDialog = true;
    m_backlight->run(m_window.commandOwner(), m_window.commandSkins(), m_waits);
    leaveDeviceDialog();
}

void DeviceCommands::leaveDeviceDialog()
{
    m_inDeviceDialog = false;
    if (m_deviceChangePending) {
        m_deviceChangePending = false;
        m_window.keyboardChanged();
    }
}

bool DeviceCommands::deferDeviceChange()
{
    if (!m_inDeviceDialog)
        return false;
    m_deviceChangePending = true;
    return true;
}

bool DeviceCommands::waitBeforeQuit()
{
    if (!m_device.worker.isRunning())
        return true;
    if (m_device.worker.task() == DeviceWorker::Task::FirmwareDownload)
        m_window.tellUser(
            caption(false),
            text(JobMessages::quitWaitsForDownload(true), JobMessages::quitWaitsForDownload(false)),
            QMessageBox::Information);
    m_inDeviceDialog = true;
    const bool waited = CNuboDialogProgress::waitForDevice(
        m_context, m_device, skin(SkinDialog::Progress), m_window.commandOwner());
    if (waited) {
        // The program ends now; a device change meanwhile needs no answer.
        m_inDeviceDialog = false;
        m_deviceChangePending = false;
    } else {
        leaveDeviceDialog();
    }
    return waited;
}

void DeviceCommands::prepareUnplugQuit()
{
    AppState &state = m_state;
    if (state.notWritten
        && m_window.askUser(caption(false), text(JobMessages::offerSaveAfterUnplug(true),
                                                 JobMessages::offerSaveAfterUnplug(false))))
        m_window.saveConfiguration();
    // Without its keyboard the worker fails at its next report; it must end before the
    // facade does, waited for or not.
    if (!waitBeforeQuit())
        m_device.worker.wait();
}

SkinImages DeviceCommands::skin(SkinDialog dialog) const
{
    const SkinLibrary *library = m_window.commandSkins();
    if (!library)
        return {};
    return library->images(SkinIds::skinSet(dialog, m_state.deviceType));
}

QString DeviceCommands::text(const std::string &chinese, const std::string &english) const
{
    QString result = QString::fromStdString(m_state.chinese() ? chinese : english);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return result;
}

QString DeviceCommands::caption(bool writeOrLoad) const
{
    const int type = m_state.deviceType;
    // The captions after Write and Load spell the second model this way.
    if (writeOrLoad && type == 2)
        return QStringLiteral("Quillo(S)Ble");
    return QString::fromLatin1(KeyboardModel::name(type));
}
