#pragma once

#include "jobs/DeviceAccess.h"
#include "jobs/FirmwareUpdateFields.h"
#include "jobs/FirmwareUpdateJob.h"
#include "jobs/ProgressBar.h"
#include "skin/SkinImages.h"
#include "skin/SkinnedDialog.h"

#include <QMessageBox>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

class KeyCatalogue;

// The modal window in which the user reads the keyboard's version, chooses a firmware file
// meant for the attached variant and downloads it. The download runs on the program's
// DeviceWorker and reports through posted messages; closing the window does not stop it.
// A damaged image is refused with its reason before anything is sent; the keyboard's key
// settings and lights are saved as a profile before the download (when they cannot be, the
// user decides whether to update without), and written back after it when the user wants.
class CNuboDialogFirmwareUpdate : public SkinnedDialog {
    Q_OBJECT
public:
    // For the keyboard of `deviceType`; the backup's keys are translated with `catalogue`.
    // `progressSkin` is the progress dialog's, shown while an earlier exchange ends.
    CNuboDialogFirmwareUpdate(const DialogContext &context, DeviceAccess device,
                              const KeyCatalogue &catalogue, int deviceType, const SkinImages &skin,
                              const SkinImages &progressSkin, QWidget *parent = nullptr);
    ~CNuboDialogFirmwareUpdate() override;

    QLineEdit *versionField() const { return m_fields ? m_fields->version() : nullptr; }
    QLineEdit *fileField() const { return m_fields ? m_fields->file() : nullptr; }
    // The chosen file's title (name without folder and extension) and its full path.
    const QString &fileTitle() const { return m_title; }
    const QString &filePath() const { return m_path; }
    // The file the last download was started with.
    const std::wstring &firmwarePath() const { return m_firmwarePath; }
    // 1 when a download may be started; 0 while one runs or after a file failed to open.
    bool ready() const { return m_ready; }
    int progress() const { return m_bar.percent(); }
    bool isDownloading() const { return m_downloading; }
    bool isRestoring() const { return m_restoring; }
    // Where the settings read before the last download were saved; empty before one.
    const std::filesystem::path &backupPath() const { return m_backupPath; }

    // Runs a command as a click on its button would.
    void runCommand(int id);

protected:
    bool initDialog() override;
    void fillTable(ButtonTable &table) override;
    void buttonClicked(int index, DrawnButton &entry) override;
    void postedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override;
    QColor captionColour(const DrawnButton &entry) const override;
    void afterEntries(QPainter &painter) override;

    // Where the window meets the user; tests answer in place of a person. `caption` empty:
    // the program's name.
    virtual void showMessage(const QString &caption, const QString &text, QMessageBox::Icon icon);
    virtual bool askYesNo(const QString &caption, const QString &text);
    // Whether to update although the backup failed; No is the default.
    virtual bool askUpdateWithoutBackup(const QString &question);
    // Empty when the user cancelled.
    virtual QString chooseFirmwarePath();

private:
    // The keyboard to ourselves: false when another worker runs and the user gave up waiting.
    bool waitForDevice();
    void readVersion();
    void openFile();
    // After a refused choice: no file is chosen; `title` is what Update checks.
    void forgetFile(const QString &title);
    void updateFirmware();
    // The one place a download begins: it saves the keyboard's settings first, unless the
    // user chose to go on without after that failed.
    void startDownload(FirmwareUpdateJob::Backup backup);
    void backupFailed();
    // After a successful download: offers to write the saved settings back.
    void offerWriteBack();
    // The version of a keyboard plugged in again, tried twice; false when it did not answer.
    bool readRestartedVersion();
    void startRestore();
    void restoreFinished(std::uintptr_t code);
    // A message in the window's language; none in any other.
    void tell(const std::string &chinese, const std::string &english, QMessageBox::Icon icon);
    void setProgress(int percent);
    bool languageKnown() const;
    QString text(const std::string &chinese, const std::string &english) const;
    QString modelName() const;

    // Shared with the worker, which fills it before it posts done.
    using Outcome = FirmwareUpdateJob::Outcome;

    DeviceAccess m_device;
    const KeyCatalogue &m_catalogue;
    const int m_deviceType;
    SkinImages m_progressSkin;
    std::wstring m_firmwarePath;
    std::unique_ptr<FirmwareUpdateFields> m_fields;
    QString m_title;
    QString m_path;
    bool m_ready = true;
    bool m_downloading = false;
    bool m_restoring = false;
    std::filesystem::path m_backupPath;
    ProgressBar m_bar;
    std::shared_ptr<Outcome> m_outcome;
};
