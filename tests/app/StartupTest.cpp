#include "app/CNuboApp.h"
#include "app/CNuboDlg.h"
#include "app/OfflineMode.h"
#include "app/SearchingDialog.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// No keyboard at start: one of `variant` is there but unplugged until a test plugs it in.
struct NoKeyboard {
    explicit NoKeyboard(int variant = 3)
        : keyboard(quillosim::SimKeyboard::create(variant))
        , backend(std::make_shared<quillosim::SimHidBackend>(keyboard))
    {
        keyboard->unplug();
        quillodev::setHidBackend(backend);
    }
    ~NoKeyboard()
    {
        state.reset();
        quillodev::setHidBackend(nullptr);
    }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    std::shared_ptr<quillosim::SimHidBackend> backend;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

} // namespace

TEST(Startup, WithoutAKeyboardTheSearchingWindowShowsAndCancelEndsTheProgram)
{
    NoKeyboard none;
    CNuboApp quillo(*none.state);
    bool searched = false;
    bool mainWindow = false;
    bool asked = false;
    quillo.setSearchHook([&](SearchingDialog &searching) {
        searching.setRetryDelay(20);
        // Cancelled once it has looked twice, however slowly the machine runs its timers.
        auto *watch = new QTimer(&searching);
        QObject::connect(watch, &QTimer::timeout, &searching, [&searching, &searched, watch] {
            if (searching.retries() < 2)
                return;
            watch->stop();
            searched = searching.isVisible() && searching.progress() > 0;
            searching.cancel();
        });
        watch->start(1);
    });
    quillo.setOfflineChoice([&] { return asked = true, 0; });
    quillo.setMainWindowHook([&](CNuboDlg &) { mainWindow = true; });
    EXPECT_EQ(quillo.run(), 0);
    EXPECT_TRUE(searched);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(mainWindow);
}

TEST(Startup, AKeyboardPluggedInWhileSearchingIsTaken)
{
    NoKeyboard none(2);
    CNuboApp quillo(*none.state);
    quillo.setSearchHook([&](SearchingDialog &searching) {
        searching.setRetryDelay(10);
        QTimer::singleShot(35, &searching, [&] { none.keyboard->plugIn(); });
    });
    quillo.setMainWindowHook([&](CNuboDlg &window) {
        QTimer::singleShot(0, &window, [&] { window.done(QDialog::Accepted); });
    });
    bool asked = false;
    quillo.setOfflineChoice([&] { return asked = true, 1; });
    EXPECT_EQ(quillo.run(), 0);
    EXPECT_EQ(none.state->deviceType, 2);
    EXPECT_FALSE(none.state->offline);
    EXPECT_FALSE(asked);
}

TEST(Startup, OfflineOpensTheChosenModelRefusesDeviceCommandsAndPicksUpItsKeyboard)
{
    NoKeyboard none(3);
    CNuboApp quillo(*none.state);
    quillo.setSearchHook([](SearchingDialog &searching) { searching.setRetryDelay(1); });
    quillo.setOfflineChoice([] { return 3; });
    bool checked = false;
    quillo.setMainWindowHook([&](CNuboDlg &window) {
        window.setUnattended(true); // messages to the error output
        QTimer::singleShot(0, &window, [&] {
            AppState &state = *none.state;
            state.language = "en-US";
            EXPECT_TRUE(state.offline);
            EXPECT_EQ(state.deviceType, 3);
            EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillo(S)"));
            // Variant 3's defaults, and its table without the backlight button.
            EXPECT_EQ(window.table().indexOfId(BacklightButton), -1);

            testing::internal::CaptureStderr();
            window.runCommand(WriteKeysButton);
            window.runCommand(GetCounterButton);
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_NE(said.find("Keyboard is not connected!"), std::string::npos) << said;
            EXPECT_NE(said.find("Plug in the Quillo(S)"), std::string::npos) << said;
            EXPECT_TRUE(window.isVisible());

            // Another model: said, still offline. The chosen one: taken.
            const auto other = quillosim::SimKeyboard::create(4);
            none.backend->addKeyboard(other);
            testing::internal::CaptureStderr();
            window.deviceChanged();
            window.deviceChanged(); // said once while it stays
            const std::string otherSaid = testing::internal::GetCapturedStderr();
            EXPECT_TRUE(state.offline);
            EXPECT_NE(otherSaid.find("A Quillo(RGB) was plugged in"), std::string::npos)
                << otherSaid;
            EXPECT_EQ(otherSaid.find("was plugged in"), otherSaid.rfind("was plugged in"));
            other->unplug();
            none.keyboard->plugIn();
            testing::internal::CaptureStderr();
            window.deviceChanged();
            const std::string connected = testing::internal::GetCapturedStderr();
            EXPECT_FALSE(state.offline);
            EXPECT_NE(connected.find("The Quillo(S) is connected"), std::string::npos) << connected;

            // Gone again: back offline rather than the end of the program.
            none.keyboard->unplug();
            testing::internal::CaptureStderr();
            window.deviceChanged();
            testing::internal::GetCapturedStderr();
            EXPECT_TRUE(state.offline);
            EXPECT_TRUE(window.isVisible());
            checked = true;
            window.done(QDialog::Accepted);
        });
    });
    EXPECT_EQ(quillo.run(), 0);
    EXPECT_TRUE(checked);
}

TEST(Startup, DecliningToWorkOfflineEndsTheProgram)
{
    NoKeyboard none;
    CNuboApp quillo(*none.state);
    quillo.setSearchHook([](SearchingDialog &searching) { searching.setRetryDelay(1); });
    bool asked = false;
    bool mainWindow = false;
    quillo.setOfflineChoice([&] { return asked = true, 0; });
    quillo.setMainWindowHook([&](CNuboDlg &) { mainWindow = true; });
    EXPECT_EQ(quillo.run(), 0);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(mainWindow);
}
