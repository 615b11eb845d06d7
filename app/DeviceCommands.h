#pragma once

#include "app/ResourceLocator.h"
#include "jobs/DeviceAccess.h"
#include "jobs/TransferJob.h"
#include "layout/SkinSet.h"
#include "skin/DialogContext.h"
#include "skin/SkinImages.h"

#include <QString>

#include <functional>
#include <memory>

class AppState;
class BacklightCommand;
class CommandWindow;
class DocumentLauncher;

// The main window's commands that reach the keyboard or leave the program: GetCounter (86),
// Help (87), Write key settings (93), Write back light (94), Load (95) and Firmware Update
// (96), and what the window must do about a running worker before it ends.
class DeviceCommands {
public:
    // The commands of `window` on the program's state, with the keyboard reached through
    // `device`.
    DeviceCommands(CommandWindow &window, AppState &state, const DialogContext &context,
                   DeviceAccess device);
    ~DeviceCommands();

    static bool handles(int id);
    void run(int id);

    // While a device dialog is open the window's own reaction to a device change waits
    // until it has closed; true when the change was put off.
    bool deferDeviceChange();

    // Before the program ends by the user's choice: waits, in the progress dialog, for a
    // running worker, first saying why when it downloads firmware. False when the user would
    // rather not wait: the program then goes on running.
    bool waitBeforeQuit();
    // Before it ends because the keyboard has gone: offers to save edits not written to it,
    // then waits for the worker, which fails soon without its keyboard.
    void prepareUnplugQuit();

    // Tests shorten the jobs' pauses and keep the desktop from opening files: the opener gets
    // the document's path and what to call when nothing could open it.
    void setWaits(const TransferJob::Waits &waits) { m_waits = waits; }
    using DocumentOpener = std::function<void(const QString &path, std::function<void()> failed)>;
    void setDocumentOpener(DocumentOpener opener) { m_openDocument = std::move(opener); }
    // Where Help looks for the guide, and whether the desktop shows compiled help.
    void setHelpLookup(ResourceLocator locator, std::function<bool()> showsCompiled);
    BacklightCommand &backlightCommand() { return *m_backlight; }

private:
    void runJob(int job);
    void showJobOutcome(int job, int outcome, const TransferResult &detail);
    void help();
    void firmwareUpdate();
    void backlight();
    SkinImages skin(SkinDialog dialog) const;
    QString text(const std::string &chinese, const std::string &english) const;
    // The exit questions' and GetCounter's caption, or the one after Write and Load.
    QString caption(bool writeOrLoad) const;
    void leaveDeviceDialog();

    JobData jobData();

    CommandWindow &m_window;
    AppState &m_state;
    const DialogContext m_context;
    DeviceAccess m_device;
    std::unique_ptr<BacklightCommand> m_backlight;
    TransferJob::Waits m_waits;
    std::unique_ptr<DocumentLauncher> m_launcher;
    DocumentOpener m_openDocument;
    ResourceLocator m_helpLocator;
    std::function<bool()> m_showsCompiledHelp;
    bool m_inDeviceDialog = false;
    bool m_deviceChangePending = false;
};
