#include "jobs/CNuboDialogFirmwareUpdate.h"

#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceWorker.h"
#include "jobs/FirmwareRules.h"
#include "jobs/FirmwareUpdateJob.h"
#include "jobs/JobMessages.h"
#include "layout/FirmwareUpdateTable.h"
#include "layout/WindowsColour.h"
#include "model/KeyboardModel.h"
#include "skin/SkinMessageBox.h"

#include <quillodev/CNuboHWI.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QThread>

#include <algorithm>

namespace {

constexpr unsigned long VersionRetryPauseMs = 500;

std::filesystem::path fileSystemPath(const QString &path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

CNuboDialogFirmwareUpdate::CNuboDialogFirmwareUpdate(
    const DialogContext &context, DeviceAccess device, const KeyCatalogue &catalogue,
    int deviceType, const SkinImages &skin, const SkinImages &progressSkin, QWidget *parent)
    : SkinnedDialog(context, FirmwareUpdateTable::EntryCount, FirmwareUpdateTable::ColourKey,
                    parent)
    , m_device(device)
    , m_catalogue(catalogue)
    , m_deviceType(deviceType)
    , m_progressSkin(progressSkin)
    , m_bar(FirmwareUpdateTable::BarArea, FirmwareUpdateTable::BarWidth)
{
    setSkin(skin);
    setWindowModality(Qt::ApplicationModal);
}

CNuboDialogFirmwareUpdate::~CNuboDialogFirmwareUpdate() = default;

void CNuboDialogFirmwareUpdate::fillTable(ButtonTable &table)
{
    table.assign(FirmwareUpdateTable::build());
}

bool CNuboDialogFirmwareUpdate::initDialog()
{
    setupFrame();
    fillTable(table());
    table().scaleToClient(scale());
    setWindowTitle(text("键盘固件升级", "Firmware Update"));
    m_ready = true;
    m_bar.reset(0);
    m_fields = std::make_unique<FirmwareUpdateFields>(*this, fonts(), scale());
    readVersion();
    return true;
}

void CNuboDialogFirmwareUpdate::buttonClicked(int, DrawnButton &entry)
{
    runCommand(entry.id);
}

void CNuboDialogFirmwareUpdate::runCommand(int id)
{
    switch (id) {
    case FirmwareUpdateTable::GetVersionButton:
        readVersion();
        break;
    case FirmwareUpdateTable::OpenButton:
        openFile();
        break;
    case FirmwareUpdateTable::UpdateButton:
        updateFirmware();
        break;
    case FirmwareUpdateTable::CloseButton:
    case FirmwareUpdateTable::CancelButton:
        // A running download goes on to its end.
        m_ready = true;
        setProgress(0);
        reject();
        break;
    default:
        break;
    }
}

bool CNuboDialogFirmwareUpdate::waitForDevice()
{
    if (!m_device.worker.isRunning())
        return true;
    return CNuboDialogProgress::waitForDevice(context(), m_device, m_progressSkin,
                                              isVisible() ? this : parentWidget());
}

void CNuboDialogFirmwareUpdate::readVersion()
{
    // Two threads on the keyboard would mix their reports.
    if (m_downloading || m_restoring) {
        if (languageKnown())
            showMessage({},
                        text(JobMessages::versionWaitsForDownload(true),
                             JobMessages::versionWaitsForDownload(false)),
                        QMessageBox::Information);
        return;
    }
    if (!waitForDevice())
        return;
    if (m_fields->readVersion(m_device.hwi))
        return;
    m_fields->version()->clear();
    using FirmwareRules::Message;
    if (languageKnown())
        showMessage({},
                    text(FirmwareRules::message(Message::VersionNotRead, m_deviceType, true),
                         FirmwareRules::message(Message::VersionNotRead, m_deviceType, false)),
                    QMessageBox::NoIcon);
}

void CNuboDialogFirmwareUpdate::openFile()
{
    const QString path = chooseFirmwarePath();
    if (path.isEmpty())
        return;
    // Whatever its name, a file that cannot be read is named as such.
    const FirmwareFile readable = FirmwareFile::probe(fileSystemPath(path));
    if (!readable.ok()) {
        forgetFile({});
        showMessage(modelName(), text(readable.problem(true), readable.problem(false)),
                    QMessageBox::Warning);
        return;
    }
    const QString title = QFileInfo(path).completeBaseName();
    if (FirmwareRules::titleMatches(m_deviceType, title.toStdString())) {
        m_title = title;
        m_path = path;
        m_fields->showFile(path);
        m_ready = true;
        return;
    }
    forgetFile(title);
    using FirmwareRules::Message;
    showMessage(modelName(),
                text(FirmwareRules::message(Message::WrongPrefix, m_deviceType, true),
                     FirmwareRules::message(Message::WrongPrefix, m_deviceType, false)),
                QMessageBox::Warning);
}

void CNuboDialogFirmwareUpdate::forgetFile(const QString &title)
{
    // The user no longer chose the earlier file: Update must not download it.
    m_title = title;
    m_path.clear();
    m_fields->file()->clear();
}

void CNuboDialogFirmwareUpdate::updateFirmware()
{
    if (!FirmwareRules::titleMatches(m_deviceType, m_title.toStdString())) {
        showMessage(modelName(), QStringLiteral("The firmware does not match"),
                    QMessageBox::Warning);
        return;
    }
    // A download runs, or the last file could not be opened.
    if (!m_ready || m_path.isEmpty())
        return;
    m_ready = false;
    if (!waitForDevice()) {
        m_ready = true;
        return;
    }
    startDownload(FirmwareUpdateJob::Backup::First);
}

void CNuboDialogFirmwareUpdate::startDownload(FirmwareUpdateJob::Backup backup)
{
    m_firmwarePath = m_path.toStdWString();
    const std::filesystem::path path = fileSystemPath(m_path);
    auto outcome = std::make_shared<Outcome>();
    const bool started = m_device.worker.start(
        DeviceWorker::Task::FirmwareDownload, messageTarget(),
        FirmwareUpdateJob::downloadTask(m_device.hwi, m_catalogue, m_deviceType, path, backup,
                                        outcome));
    if (!started) {
        m_ready = true;
        return;
    }
    m_outcome = outcome;
    m_downloading = true;
    if (backup == FirmwareUpdateJob::Backup::First)
        m_fields->showStatus(
            text(FirmwareBackup::readingText(true), FirmwareBackup::readingText(false)));
    setProgress(1);
}

void CNuboDialogFirmwareUpdate::backupFailed()
{
    m_ready = true;
    setProgress(0);
    // The worker has ended and nothing more goes to the keyboard until the user answers: the
    // backup only read from it.
    if (!m_outcome || !languageKnown())
        return;
    const FirmwareBackup::Result &result = m_outcome->backup;
    if (!askUpdateWithoutBackup(text(FirmwareBackup::updateAnywayQuestion(result, true),
                                     FirmwareBackup::updateAnywayQuestion(result, false))))
        return;
    m_ready = false;
    if (!waitForDevice()) {
        m_ready = true;
        return;
    }
    startDownload(FirmwareUpdateJob::Backup::Skip);
}

void CNuboDialogFirmwareUpdate::offerWriteBack()
{
    if (m_backupPath.empty())
        return;
    const QString question = text(FirmwareBackup::writeBackQuestion(m_backupPath, true),
                                  FirmwareBackup::writeBackQuestion(m_backupPath, false));
    while (askYesNo(modelName(), question)) {
        // Plugged in again after the update: the old handle is gone.
        m_device.hwi.__closeDev();
        if (!m_device.hwi.__createDev()) {
            tell(FirmwareBackup::writeBackNotConnectedText(true),
                 FirmwareBackup::writeBackNotConnectedText(false), QMessageBox::Warning);
            continue;
        }
        if (readRestartedVersion()) {
            startRestore();
            return;
        }
        tell(FirmwareBackup::writeBackVersionFailedText(true),
             FirmwareBackup::writeBackVersionFailedText(false), QMessageBox::Warning);
    }
}

bool CNuboDialogFirmwareUpdate::readRestartedVersion()
{
    // A keyboard just plugged in may still be starting its new firmware: a second try a
    // moment later before it counts as not answering.
    if (m_fields->readVersion(m_device.hwi))
        return true;
    QThread::msleep(VersionRetryPauseMs);
    return m_fields->readVersion(m_device.hwi);
}

void CNuboDialogFirmwareUpdate::startRestore()
{
    auto outcome = std::make_shared<Outcome>();
    const bool started = m_device.worker.start(
        DeviceWorker::Task::Exchange, messageTarget(),
        FirmwareUpdateJob::writeBackTask(m_device.hwi, m_deviceType, m_backupPath, outcome));
    if (!started)
        return;
    m_outcome = outcome;
    m_restoring = true;
    m_ready = false;
    m_fields->showStatus(
        text(FirmwareBackup::writingText(true), FirmwareBackup::writingText(false)));
    setProgress(1);
}

void CNuboDialogFirmwareUpdate::restoreFinished(std::uintptr_t code)
{
    m_restoring = false;
    m_ready = true;
    m_fields->restoreVersion();
    if (code == FirmwareUpdateJob::Restored)
        tell(FirmwareBackup::restoredText(true), FirmwareBackup::restoredText(false),
             QMessageBox::NoIcon);
    else if (m_outcome)
        tell(FirmwareBackup::failureText(m_outcome->backup, true),
             FirmwareBackup::failureText(m_outcome->backup, false), QMessageBox::Warning);
}

void CNuboDialogFirmwareUpdate::tell(const std::string &chinese, const std::string &english,
                                     QMessageBox::Icon icon)
{
    if (languageKnown())
        showMessage({}, text(chinese, english), icon);
}

void CNuboDialogFirmwareUpdate::postedMessage(unsigned int message, std::uintptr_t wParam,
                                              std::intptr_t)
{
    if (message == quillodev::DeviceMessageProgress) {
        // The download has begun: the backup is done.
        if (m_downloading)
            m_fields->restoreVersion();
        const std::uintptr_t units = std::min<std::uintptr_t>(wParam, quillodev::ProgressScale);
        m_ready = false;
        setProgress(int(units * 100 / quillodev::ProgressScale));
        return;
    }
    // Done is a job's last word, but its thread is still ending: a job started in answer (the
    // write-back, or the download after a failed backup) would find the worker busy.
    if (message == quillodev::DeviceMessageDone)
        m_device.worker.wait();
    if (message == quillodev::DeviceMessageDone && m_restoring) {
        restoreFinished(wParam);
        return;
    }
    if (message != quillodev::DeviceMessageDone || !m_downloading)
        return;
    m_downloading = false;
    m_fields->restoreVersion();
    if (m_outcome && m_outcome->backup.ok())
        m_backupPath = m_outcome->backup.path;
    using FirmwareRules::Message;
    const int type = m_deviceType;
    const auto say = [this, type](Message which) {
        tell(FirmwareRules::message(which, type, true), FirmwareRules::message(which, type, false),
             QMessageBox::NoIcon);
    };
    switch (wParam) {
    case FirmwareUpdateJob::Downloaded:
        m_ready = true;
        say(Message::Downloaded);
        if (languageKnown())
            offerWriteBack();
        break;
    case FirmwareUpdateJob::DownloadFailed:
        m_ready = true;
        // The settings are safe in the backup; where it is matters now.
        tell(FirmwareBackup::downloadFailedText(type, m_backupPath, true),
             FirmwareBackup::downloadFailedText(type, m_backupPath, false), QMessageBox::NoIcon);
        break;
    case FirmwareUpdateJob::BackupFailed:
        backupFailed();
        break;
    case FirmwareUpdateJob::FileNotOpened: {
        // Gone or changed since it was chosen: named, with what it is now.
        const FirmwareFile gone = FirmwareFile::probe(fileSystemPath(m_path));
        tell(FirmwareRules::cannotOpen(gone.path.string(), gone.openProblem, gone.systemReason,
                                       true),
             FirmwareRules::cannotOpen(gone.path.string(), gone.openProblem, gone.systemReason,
                                       false),
             QMessageBox::NoIcon);
        break;
    }
    case FirmwareUpdateJob::FileRefused: {
        // Trying the same file again would not help: ready stays 0 until another is opened.
        FirmwareFile refused;
        refused.status = m_outcome ? m_outcome->status : FirmwareFile::Status::Refused;
        refused.check = m_outcome ? m_outcome->check : quillodev::FirmwareCheck{};
        tell(refused.problem(true), refused.problem(false), QMessageBox::Warning);
        break;
    }
    default:
        break;
    }
}

void CNuboDialogFirmwareUpdate::setProgress(int percent)
{
    update(m_bar.setPercent(percent, scale()));
}

QColor CNuboDialogFirmwareUpdate::captionColour(const DrawnButton &entry) const
{
    return colourFromWindows(entry.checked ? 0xBE0000 : 0xC8C8C8);
}

void CNuboDialogFirmwareUpdate::afterEntries(QPainter &painter)
{
    m_bar.paint(painter, skinImages());
}

void CNuboDialogFirmwareUpdate::showMessage(const QString &caption, const QString &text,
                                            QMessageBox::Icon icon)
{
    SkinMessageBox::tell(context(), isVisible() ? this : parentWidget(), icon,
                         caption.isEmpty() ? QCoreApplication::applicationName() : caption, text);
}

bool CNuboDialogFirmwareUpdate::askYesNo(const QString &caption, const QString &text)
{
    return SkinMessageBox::ask(context(), isVisible() ? this : parentWidget(),
                               QMessageBox::Question, caption, text);
}

bool CNuboDialogFirmwareUpdate::askUpdateWithoutBackup(const QString &question)
{
    return SkinMessageBox::ask(context(), isVisible() ? this : parentWidget(), QMessageBox::Warning,
                               modelName(), question, QMessageBox::No);
}

QString CNuboDialogFirmwareUpdate::chooseFirmwarePath()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("bin"));
    dialog.setNameFilter(QStringLiteral("bin(*.bin)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool CNuboDialogFirmwareUpdate::languageKnown() const
{
    return language() == "zh-CN" || language() == "en-US";
}

QString CNuboDialogFirmwareUpdate::text(const std::string &chinese,
                                        const std::string &english) const
{
    QString result = QString::fromStdString(SkinnedDialog::chinese() ? chinese : english);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return result;
}

QString CNuboDialogFirmwareUpdate::modelName() const
{
    return QString::fromLatin1(KeyboardModel::name(m_deviceType));
}
