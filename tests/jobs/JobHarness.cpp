#include "JobHarness.h"

#include <quillodev/HidBackend.h>

#include <QCoreApplication>

JobFixture::JobFixture(int variant)
    : keyboard(quillosim::SimKeyboard::create(variant))
{
    quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
    state.deviceType = state.hwi.DetectDeviceType();
    state.buildCatalogue();
    state.scaleFactor = 1.0f;
    state.resetKeyModel();
    state.hwi.__createDev();
    skins.load(QCoreApplication::applicationDirPath(), state.deviceType);
}

JobFixture::~JobFixture()
{
    finishWorkers(worker);
    state.hwi.__closeDev();
    quillodev::setHidBackend(nullptr);
}

SkinImages JobFixture::progressSkin() const
{
    return skins.images(SkinIds::skinSet(SkinDialog::Progress, state.deviceType));
}

SkinImages JobFixture::firmwareSkin() const
{
    return skins.images(SkinIds::skinSet(SkinDialog::FirmwareUpdate, state.deviceType));
}

WatchedProgress::WatchedProgress(JobFixture &f, QWidget *parent)
    : CNuboDialogProgress(f.context(), f.device(), f.progressSkin(), parent)
{
    setJobData(f.data());
    clock.start();
}

void WatchedProgress::clickCancel()
{
    const int index = table().indexOfId(93);
    buttonClicked(index, table()[std::size_t(index)]);
}

void WatchedProgress::postedMessage(unsigned int message, std::uintptr_t wParam,
                                    std::intptr_t lParam)
{
    CNuboDialogProgress::postedMessage(message, wParam, lParam);
    if (message == quillodev::DeviceMessageProgress) {
        units.push_back(wParam);
        barAfter.push_back(progress());
        lastProgressMs = clock.elapsed();
    }
}

void WatchedProgress::done(int result)
{
    closedMs = clock.elapsed();
    closedAt = std::chrono::steady_clock::now();
    CNuboDialogProgress::done(result);
}

ScriptedFirmwareDialog::ScriptedFirmwareDialog(JobFixture &f, QWidget *parent)
    : CNuboDialogFirmwareUpdate(f.context(), f.device(), f.state.catalogue, f.state.deviceType,
                                f.firmwareSkin(), f.progressSkin(), parent)
{}

void finishWorkers(DeviceWorker &worker)
{
    worker.wait();
    // Posts of the ended worker are delivered (and dropped) before the next test.
    QCoreApplication::processEvents();
}

void assignEveryKey(AppState &state)
{
    const KeyCatalogue &names = state.catalogue;
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            ActionList steps(9);
            KeyAssignment a;
            switch ((key + layer) % 4) {
            case 0:
                a = {KeyAssignment::Single, 4 + key % 20, {}};
                break;
            case 1:
                steps = ActionList(6);
                steps.setAt(20000, names.nameOfCode(4 + key % 20));
                steps.setAt(20000, names.nameOfCode(5 + key % 20));
                a = {KeyAssignment::Combo, 0, steps};
                break;
            case 2:
                steps.setAt(20000, names.nameOfCode(4 + key % 20) + " Down");
                steps.setAt(20000, "<" + std::to_string(10 + key) + " ms>");
                steps.setAt(20000, names.nameOfCode(4 + key % 20) + " UP");
                a = {KeyAssignment::Macro, 0, steps};
                break;
            default:
                steps.setAt(20000, names.nameOfCode(6 + key % 20));
                steps.delayMs = 40;
                a = {KeyAssignment::Emulation, 0, steps};
                break;
            }
            state.setAssignment(key, layer, a);
        }
    }
}
