#include "MainWindowHarness.h"

#include "app/BacklightCommand.h"
#include "app/DeviceCommands.h"
#include "app/KeyCommand.h"
#include "app/UndoShortcuts.h"
#include "jobs/DeviceTransfer.h"
#include "jobs/DeviceWorker.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/BacklightTable.h"
#include "layout/KeySettingsTable.h"
#include "layout/MainWindowTable.h"
#include "lighting/CNuboDialogBkLightSettings.h"
#include "skin/SkinLibrary.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace std::chrono_literals;

namespace {

using Steps = std::vector<std::string>;

// The main window over an emulated keyboard with the built skins, so that its commands open
// the real key settings and backlight dialogs.
struct DialogsFixture {
    explicit DialogsFixture(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts,
                 positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)))
    {
        skinsLoaded = skins.load(QCoreApplication::applicationDirPath(), variant);
        window.setSkinLibrary(&skins);
        window.deviceCommands().setWaits({0ms, 0ms, 0ms});
        started = window.initialise();
        window.show();
    }
    ~DialogsFixture() { window.deviceWorker().wait(); }

    AppState &state() { return attached.state; }
    UndoShortcuts &undo() { return *window.undoShortcuts(); }
    int keyButton(int key) const
    {
        return MainWindowTable::build(attached.state.deviceType)[std::size_t(12 + key)].id;
    }

    AttachedKeyboard attached;
    SkinLibrary skins;
    ScriptedMainWindow window;
    bool skinsLoaded = false;
    bool started = false;
};

void sendKey(QWidget &dialog, unsigned short evdev, bool press, std::uint32_t time)
{
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                    quint32(evdev) + 8, 0, 0, QString(), false);
    event.setTimestamp(time);
    QApplication::sendEvent(&dialog, &event);
}

ActionList oneMacro()
{
    ActionList list(9);
    list.setAt(20000, "old");
    list.items.editBack().setAt(20000, "B Down");
    list.items.editBack().top = 0;
    list.items.editBack().selected = 0;
    list.top = 0;
    list.selected = 0;
    return list;
}

} // namespace

// A macro recorded in the key settings dialog and confirmed with OK changes the key and the
// macro list; one undo brings both back, redo both forth.
TEST(MainWindowUndoDialogs, ARecordedMacroUndoesWithItsListEntry)
{
    DialogsFixture f(4);
    ASSERT_TRUE(f.skinsLoaded);
    ASSERT_TRUE(f.started);
    f.state().predefinedMacros = oneMacro();
    const ActionList macrosBefore = f.state().predefinedMacros;
    const KeyAssignment keyBefore = f.state().assignment(40, 0);

    using namespace KeySettingsTable;
    f.window.keyCommand().setDialogHook([](CNuboDialogKeyMapSettings &dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.clickId(FirstTab + 1); // the macro page
            dialog.clickId(RecordMacroButton);
            sendKey(dialog, KEY_A, true, 1000);
            sendKey(dialog, KEY_A, false, 1080);
            dialog.clickId(FirstTab + 1); // any click ends the recording
            dialog.clickId(OkButton);
            if (dialog.isVisible())
                dialog.reject();
        });
    });
    f.window.runCommand(f.keyButton(40));
    const KeyAssignment recorded = f.state().assignment(40, 0);
    ASSERT_EQ(recorded.category, KeyAssignment::Macro);
    ASSERT_FALSE(f.state().predefinedMacros.sameAction(macrosBefore)
                 && f.state().predefinedMacros.items.at(0).sameAction(macrosBefore.items.at(0)));
    const ActionList macrosAfter = f.state().predefinedMacros;
    EXPECT_TRUE(f.state().notWritten);

    ASSERT_TRUE(f.undo().undo());
    EXPECT_EQ(f.state().assignment(40, 0).category, keyBefore.category);
    EXPECT_EQ(f.state().assignment(40, 0).code, keyBefore.code);
    EXPECT_EQ(f.state().predefinedMacros.items.at(0).names, macrosBefore.items.at(0).names);
    EXPECT_EQ(f.state().predefinedMacros.names, macrosBefore.names);
    EXPECT_FALSE(f.state().notWritten);

    ASSERT_TRUE(f.undo().redo());
    EXPECT_EQ(f.state().assignment(40, 0).category, KeyAssignment::Macro);
    EXPECT_EQ(f.state().assignment(40, 0).action.names, recorded.action.names);
    EXPECT_EQ(f.state().predefinedMacros.items.at(0).names, macrosAfter.items.at(0).names);
    EXPECT_TRUE(f.state().notWritten);
}

// OK in the backlight dialog is one step; so is a Read left with Cancel, which put the
// keyboard's colours into the configuration.
TEST(MainWindowUndoDialogs, TheBacklightDialogsChangesAreOneStepEach)
{
    DialogsFixture f(4);
    ASSERT_TRUE(f.skinsLoaded);
    ASSERT_TRUE(f.started);
    const LightSettings original = f.state().lightSettings;
    const LightColour amber{255, 160, 0};
    const LightColour teal{0, 128, 128};
    BacklightCommand &backlight = f.window.deviceCommands().backlightCommand();
    const auto script = [&](std::function<void(CNuboDialogBkLightSettings &)> clicks) {
        backlight.setDialogHook([clicks](CNuboDialogBkLightSettings &dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, clicks] {
                clicks(dialog);
                if (dialog.isVisible())
                    dialog.reject();
            });
        });
    };

    script([&](CNuboDialogBkLightSettings &dialog) {
        dialog.setColourChooser([amber](const ColourRequest &) { return std::optional(amber); });
        dialog.clickId(BacklightTable::FirstKey - 1 + 70);
        dialog.clickId(BacklightTable::FirstKey - 1 + 71);
        dialog.clickId(BacklightTable::OkButton);
    });
    f.window.runCommand(BacklightButton);
    EXPECT_EQ(f.state().lightSettings[70], amber);
    EXPECT_EQ(f.state().history.size(), 1u);

    // A Read over colours the keyboard holds, then Cancel.
    LightSettings onKeyboard = original;
    onKeyboard[5] = teal;
    f.state().lightSettings.swap(onKeyboard);
    ASSERT_TRUE(DeviceTransfer::writeLights(f.state().hwi, f.state().lightSettings, nullptr));
    f.state().lightSettings.swap(onKeyboard);
    script([](CNuboDialogBkLightSettings &dialog) {
        // The read's "OK!" is answered as it comes.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        answer.start(10);
        dialog.clickId(BacklightTable::ReadButton);
        answer.stop();
        dialog.clickId(BacklightTable::CancelButton);
    });
    f.window.runCommand(BacklightButton);
    EXPECT_EQ(f.state().lightSettings[5], teal);
    EXPECT_EQ(f.state().history.size(), 2u);

    // Cancel alone changes nothing and records nothing.
    script(
        [](CNuboDialogBkLightSettings &dialog) { dialog.clickId(BacklightTable::CancelButton); });
    f.window.runCommand(BacklightButton);
    EXPECT_EQ(f.state().history.size(), 2u);

    ASSERT_TRUE(f.undo().undo());
    EXPECT_EQ(f.state().lightSettings[5], original[5]);
    EXPECT_EQ(f.state().lightSettings[70], amber);
    ASSERT_TRUE(f.undo().undo());
    EXPECT_EQ(f.state().lightSettings, original);
    EXPECT_FALSE(f.state().notWritten); // lights never mark the keys as not written
    ASSERT_TRUE(f.undo().redo());
    EXPECT_EQ(f.state().lightSettings[71], amber);
}
