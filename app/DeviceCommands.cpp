#include "app/DeviceCommands.h"

#include "app/AppState.h"
#include "app/BacklightCommand.h"
#include "app/CNuboDlg.h"
#include "app/HelpDocument.h"
#include "app/KeyboardModel.h"
#include "app/MainWindowTable.h"
#include "app/OfflineMode.h"
#include "jobs/CNuboDialogFirmwareUpdate.h"
#include "jobs/CNuboDialogProgress.h"
#include "jobs/JobMessages.h"
#include "skin/SkinLibrary.h"

#include <QDesktopServices>

#include <optional>

DeviceCommands::DeviceCommands(CNuboDlg &window)
    : m_window(window)
    , m_backlight(std::make_unique<BacklightCommand>(window.state(), window.fonts()))
    , m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
    , m_helpLocator(ResourceLocator::forThisProgram())
    , m_showsCompiledHelp(&HelpDocument::desktopShowsCompiled)
{}

DeviceCommands::~DeviceCommands() = default;

bool DeviceCommands::handles(int id)
{
    return id == GetCounterButton || id == HelpButton || id == WriteKeysButton || id == LoadButton
           || id == FirmwareButton || id == BacklightButton;
}

void DeviceCommands::run(int id)
{
    // Offline only the help opens; the others say the keyboard is not connected.
    if (id != HelpButton && m_window.offlineMode().refuses())
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

void DeviceCommands::runJob(int job)
{
    AppState &state = m_window.state();
    m_inDeviceDialog = true;
    // What Load replaces, for undo.
    std::optional<ConfigHistory::Before> before;
    if (job == TransferJob::ReadKeysAndLights)
        before = ConfigHistory::capture(state, ConfigHistory::Scope::keysAndLights());
    TransferResult detail;
    const CNuboDialogProgress::Result outcome = CNuboDialogProgress::runJob(
        state, m_window.fonts(), skin(SkinDialog::Progress), job, &m_window, &detail, m_waits);
    if (outcome == CNuboDialogProgress::Succeeded && before)
        state.history.record(ConfigHistory::Change::Load, std::move(*before));
    // Written or just read: the keyboard holds the keys as they are now.
    if (outcome == CNuboDialogProgress::Succeeded
        && (job == TransferJob::WriteKeys || job == TransferJob::ReadKeysAndLights))
        state.history.markKeyboardHolds();
    showJobOutcome(job, outcome, detail);
    leaveDeviceDialog();
}

void DeviceCommands::showJobOutcome(int job, int outcome, const TransferResult &detail)
{
    AppState &state = m_window.state();
    const bool writeOrLoad = job == TransferJob::WriteKeys || job == TransferJob::ReadKeysAndLights;
    if (outcome == CNuboDialogProgress::Succeeded) {
        if (job == TransferJob::WriteKeys)
            state.notWritten = false;
        m_window.showMessage(caption(writeOrLoad), QStringLiteral("OK!!"), QMessageBox::Warning);
    } else if (outcome == CNuboDialogProgress::Failed) {
        // Cancel stays silent: the user chose it.
        m_window.showMessage(
            caption(writeOrLoad),
            text(JobMessages::failure(job, detail, true), JobMessages::failure(job, detail, false)),
            QMessageBox::Critical);
    }
    // The write leaves the picture as it was; what was read is shown either way.
    if (job != TransferJob::WriteKeys)
        m_window.update();
}

void DeviceCommands::help()
{
    // No document, no complaint.
    const std::filesystem::path path = HelpDocument::choose(m_helpLocator, m_showsCompiledHelp());
    if (!path.empty())
        m_openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

void DeviceCommands::setHelpLookup(ResourceLocator locator, std::function<bool()> showsCompiled)
{
    m_helpLocator = std::move(locator);
    m_showsCompiledHelp = std::move(showsCompiled);
}

void DeviceCommands::firmwareUpdate()
{
    m_inDeviceDialog = true;
    AppState &state = m_window.state();
    const SkinImages progressSkin = skin(SkinDialog::Progress);
    // The dialog reads the version as it opens.
    if (CNuboDialogProgress::waitForDevice(state, m_window.fonts(), progressSkin, &m_window)) {
        CNuboDialogFirmwareUpdate dialog(state, m_window.fonts(), skin(SkinDialog::FirmwareUpdate),
                                         progressSkin, &m_window);
        dialog.exec();
    }
    leaveDeviceDialog();
}

void DeviceCommands::backlight()
{
    // Its Read and Write run device jobs; a device change waits until it has closed.
    m_inDeviceDialog = true;
    m_backlight->run(&m_window, m_window.skinLibrary(), m_waits);
    leaveDeviceDialog();
}

void DeviceCommands::leaveDeviceDialog()
{
    m_inDeviceDialog = false;
    if (m_deviceChangePending) {
        m_deviceChangePending = false;
        m_window.deviceChanged();
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
    AppState &state = m_window.state();
    if (!state.deviceWorker.isRunning())
        return true;
    if (state.deviceWorker.task() == DeviceWorker::Task::FirmwareDownload)
        m_window.showMessage(
            caption(false),
            text(JobMessages::quitWaitsForDownload(true), JobMessages::quitWaitsForDownload(false)),
            QMessageBox::Information);
    m_inDeviceDialog = true;
    const bool waited = CNuboDialogProgress::waitForDevice(state, m_window.fonts(),
                                                           skin(SkinDialog::Progress), &m_window);
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
    AppState &state = m_window.state();
    if (state.notWritten
        && m_window.askYesNo(caption(false), text(JobMessages::offerSaveAfterUnplug(true),
                                                  JobMessages::offerSaveAfterUnplug(false))))
        m_window.saveProfile();
    // Without its keyboard the worker fails at its next report; it must end before the
    // facade does, waited for or not.
    if (!waitBeforeQuit())
        state.deviceWorker.wait();
}

SkinImages DeviceCommands::skin(SkinDialog dialog) const
{
    const SkinLibrary *library = m_window.skinLibrary();
    if (!library)
        return {};
    return library->images(SkinIds::skinSet(dialog, m_window.state().deviceType));
}

QString DeviceCommands::text(const std::string &chinese, const std::string &english) const
{
    QString result = QString::fromStdString(m_window.state().chinese() ? chinese : english);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return result;
}

QString DeviceCommands::caption(bool writeOrLoad) const
{
    const int type = m_window.state().deviceType;
    // The captions after Write and Load spell the second model this way.
    if (writeOrLoad && type == 2)
        return QStringLiteral("Quillo(S)Ble");
    return QString::fromLatin1(KeyboardModel::name(type));
}
