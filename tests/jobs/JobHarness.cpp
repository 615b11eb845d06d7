#include "JobHarness.h"

#include <quillodev/HidBackend.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

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

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void whenModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    auto *poll = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, action, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (modal)
            action(modal);
    });
    poll->start(5);
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

std::string firmwareText(int records)
{
    std::string text = ":020000040800F2\r\n";
    char line[64];
    for (int r = 0; r < records; ++r) {
        const int address = r * 16;
        unsigned sum = 16 + (address >> 8 & 0xFF) + (address & 0xFF);
        std::snprintf(line, sizeof line, ":10%04X00", address & 0xFFFF);
        text += line;
        for (int i = 0; i < 16; ++i) {
            const int byte = (r + i * 3) & 0xFF;
            sum += unsigned(byte);
            std::snprintf(line, sizeof line, "%02X", byte);
            text += line;
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (0x100 - sum % 256) % 256);
        text += line;
    }
    return text + ":00000001FF\r\n";
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
