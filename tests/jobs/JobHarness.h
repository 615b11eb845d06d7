#pragma once

#include "jobs/CNuboDialogFirmwareUpdate.h"
#include "jobs/CNuboDialogProgress.h"
#include "jobs/DeviceWorker.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinLibrary.h"

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"
#include "tests/support/FirmwareText.h"
#include "tests/support/TestEvents.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// An emulated keyboard attached and opened, a state as the main window leaves it after
// start-up, and the built skins of the job windows.
struct JobFixture {
    explicit JobFixture(int variant = 4);
    ~JobFixture();

    SkinImages progressSkin() const;
    SkinImages firmwareSkin() const;
    // What the job windows take of the state.
    DialogContext context() const { return {state.language, state.scaleFactor, fonts}; }
    DeviceAccess device() { return {state.hwi, worker}; }
    JobData data() { return {state.catalogue, state, state.pressCounters}; }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    // After the state, so that it is waited for before the facade goes.
    DeviceWorker worker;
    FontTable fonts;
    SkinLibrary skins;
};

// A progress dialog that records what reaches it.
class WatchedProgress : public CNuboDialogProgress {
public:
    WatchedProgress(JobFixture &f, QWidget *parent = nullptr);

    std::vector<std::uintptr_t> units; // wParam of every progress message
    std::vector<int> barAfter;         // the bar after each of them
    qint64 lastProgressMs = -1;        // since the dialog was made
    qint64 closedMs = -1;
    std::chrono::steady_clock::time_point closedAt;
    QElapsedTimer clock;

    using CNuboDialogProgress::buttonClicked;
    void clickCancel();

protected:
    void postedMessage(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void done(int result) override;
};

// A firmware dialog whose messages and file choices are the test's.
class ScriptedFirmwareDialog : public CNuboDialogFirmwareUpdate {
public:
    ScriptedFirmwareDialog(JobFixture &f, QWidget *parent = nullptr);

    std::vector<QString> messages;
    std::vector<QString> captions;
    QString chosenPath;
    std::vector<QString> questions;
    // Answers each question in turn (No when unset); may change the keyboard meanwhile.
    std::function<bool(const QString &question)> answer;

protected:
    void showMessage(const QString &caption, const QString &text, QMessageBox::Icon) override
    {
        captions.push_back(caption);
        messages.push_back(text);
    }
    bool askYesNo(const QString &, const QString &text) override
    {
        questions.push_back(text);
        return answer && answer(text);
    }
    bool askUpdateWithoutBackup(const QString &question) override
    {
        questions.push_back(question);
        return answer && answer(question);
    }
    QString chooseFirmwarePath() override { return chosenPath; }
};

// Waits for every worker, so that no test leaves one talking to the next test's keyboard.
void finishWorkers(DeviceWorker &worker);

// Keys 1..108 on both layers given something the keyboard stores: every category in turn.
void assignEveryKey(AppState &state);
