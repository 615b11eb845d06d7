#include "MainWindowHarness.h"

#include "app/DeviceCommands.h"
#include "app/KeyCommand.h"
#include "app/UndoShortcuts.h"
#include "jobs/DeviceWorker.h"
#include "layout/MainWindowTable.h"
#include "model/KeyMapChange.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// The main window on an emulated keyboard, the built skins for its dialogs, no job pauses.
struct UndoFixture {
    explicit UndoFixture(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts,
                 positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)))
    {
        skins.load(QCoreApplication::applicationDirPath(), variant);
        window.setSkinLibrary(&skins);
        window.deviceCommands().setWaits({0ms, 0ms, 0ms});
        started = window.initialise();
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
    }
    ~UndoFixture() { window.deviceWorker().wait(); }

    AppState &state() { return attached.state; }
    int code(int key, int layer) { return state().code[std::size_t(AppState::index(key, layer))]; }

    void confirm(int key, int layer, int category, int code)
    {
        KeyMapChange change;
        change.key = key;
        change.layer = layer;
        change.assignment = {category, code, {}};
        window.keyCommand().store(change);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        // A modal dialog that closed leaves no window active off the screen.
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        QTest::keyClick(&window, key, modifiers);
        QCoreApplication::processEvents();
    }

    AttachedKeyboard attached;
    SkinLibrary skins;
    ScriptedMainWindow window;
    bool started = false;
    bool active = false;
};

} // namespace

TEST(MainWindowUndo, TheShortcutsStepThroughKeyClearAndLoadAndNotWrittenFollows)
{
    UndoFixture f(4);
    ASSERT_TRUE(f.started);
    ASSERT_TRUE(f.active);
    const int original = f.code(30, 0);

    f.confirm(30, 0, KeyAssignment::Multimedia, 110);
    EXPECT_TRUE(f.state().notWritten);
    f.window.runCommand(ClearButton); // asks nothing
    EXPECT_TRUE(f.window.questions.empty());
    EXPECT_EQ(f.code(30, 0), original);

    f.press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.code(30, 0), 110);
    f.press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.code(30, 0), original);
    EXPECT_FALSE(f.state().notWritten); // as the window started: nothing unwritten
    f.press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.code(30, 0), 110);
    EXPECT_TRUE(f.state().notWritten);

    // Written, then Load over a model that moved on; undo brings back the edit, which the
    // keyboard does not hold.
    f.window.runCommand(WriteKeysButton);
    EXPECT_FALSE(f.state().notWritten);
    f.confirm(31, 0, KeyAssignment::Mouse, 127);
    f.state().lightSettings[3] = {9, 9, 9};
    f.window.runCommand(LoadButton);
    EXPECT_EQ(f.window.messages, (std::vector<QString>{"OK!!", "OK!!"}));
    EXPECT_NE(f.code(31, 0), 127);
    EXPECT_TRUE(f.state().notWritten); // Load leaves the flag, as it always has
    f.press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.code(31, 0), 127);
    EXPECT_EQ(f.state().lightSettings[3], (LightColour{9, 9, 9}));
    EXPECT_TRUE(f.state().notWritten);
    f.press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(f.code(31, 0), 127);
    EXPECT_FALSE(f.state().notWritten); // just what was read
    EXPECT_EQ(f.code(30, 0), 110);

    // A job that failed records nothing.
    const std::size_t steps = f.state().history.size();
    quillosim::SimFaults broken;
    broken.failReadAt = 1;
    f.attached.keyboard->setReadWaitLimit(50ms);
    f.attached.keyboard->setFaults(broken);
    f.window.runCommand(LoadButton);
    EXPECT_EQ(f.state().history.size(), steps);
}

TEST(MainWindowUndo, OpenCanBeUndoneAndAFailedOpenRecordsNothing)
{
    UndoFixture f(3);
    ASSERT_TRUE(f.started);
    QTemporaryDir folder;
    f.confirm(44, 0, KeyAssignment::Power, 75);
    const QString saved = folder.filePath("power.pro");
    f.window.savePath = saved;
    f.window.runCommand(SaveButton);
    f.window.runCommand(ClearButton);
    f.window.openProfile(saved);
    EXPECT_EQ(f.code(44, 0), 75);
    f.window.openProfile(folder.filePath("missing.pro"));
    EXPECT_EQ(f.state().history.size(), 3u); // the key, Clear, Open
    ASSERT_NE(f.window.undoShortcuts(), nullptr);
    EXPECT_TRUE(f.window.undoShortcuts()->undo());
    EXPECT_NE(f.code(44, 0), 75);
    EXPECT_TRUE(f.window.undoShortcuts()->undo());
    EXPECT_EQ(f.code(44, 0), 75);
}
