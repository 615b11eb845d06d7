#include "MainWindowHarness.h"

#include "app/HeatmapView.h"
#include "app/KeyCommand.h"
#include "app/KeyTester.h"
#include "layout/MainWindowTable.h"
#include "model/KeyMapChange.h"
#include "skin/FrameFocus.h"

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct KeyTestFixture {
    KeyTestFixture()
        : attached(4)
        , window(attached.state, attached.fonts,
                 positionCodedSkin(QSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight)))
    {
        attached.state.language = "en-US";
        started = window.initialise();
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
    }

    // A keystroke as X11 gives it to the focused window: the evdev code plus 8.
    void send(unsigned short evdev, bool press, int qtKey = 0)
    {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier,
                        quint32(evdev) + 8, 0, 0);
        QApplication::sendEvent(&window, &event);
    }
    void stroke(unsigned short evdev)
    {
        send(evdev, true);
        send(evdev, false);
    }
    const KeyTest &test() { return window.keyTester().test(); }
    QString report() { return window.reportBox()->toPlainText(); }

    AttachedKeyboard attached;
    ScriptedMainWindow window;
    bool started = false;
    bool active = false;
};

} // namespace

// The keys the recorder tells apart light caps of their own: the keypad against the main
// block, keypad Enter against Enter, right-hand modifiers against the left ones, the media
// keys on the four keys above the keypad; a key the keyboard lacks is named as such.
TEST(MainWindowKeyTest, EveryKeyLightsItsOwnCap)
{
    KeyTestFixture f;
    ASSERT_TRUE(f.started);
    f.window.runCommand(KeyTestButton);
    ASSERT_TRUE(f.window.keyTester().isOn());

    const struct {
        unsigned short evdev;
        int key;
    } keys[] = {
        {KEY_1, 15},         {KEY_KP1, 103},       {KEY_ENTER, 54},        {KEY_KPENTER, 108},
        {KEY_SLASH, 65},     {KEY_KPSLASH, 93},    {KEY_MINUS, 25},        {KEY_KPMINUS, 95},
        {KEY_LEFTSHIFT, 55}, {KEY_RIGHTSHIFT, 66}, {KEY_LEFTCTRL, 67},     {KEY_RIGHTCTRL, 74},
        {KEY_LEFTALT, 69},   {KEY_RIGHTALT, 71},   {KEY_RIGHTMETA, 72},    {KEY_COMPOSE, 73},
        {KEY_PLAYPAUSE, 88}, {KEY_MUTE, 88},       {KEY_PREVIOUSSONG, 89}, {KEY_VOLUMEDOWN, 89},
        {KEY_NEXTSONG, 90},  {KEY_VOLUMEUP, 90},   {KEY_STOPCD, 91},       {KEY_NUMLOCK, 92},
        {KEY_SYSRQ, 75},
    };
    int seen = 0;
    for (const auto &k : keys) {
        SCOPED_TRACE(k.evdev);
        const bool fresh = !f.test().isTested(k.key);
        f.send(k.evdev, true);
        EXPECT_TRUE(f.test().isPressed(k.key));
        if (fresh) {
            EXPECT_FALSE(f.test().isTested(k.key));
        }
        f.send(k.evdev, true); // auto-repeat, as some systems send it: still one press
        f.send(k.evdev, false);
        EXPECT_FALSE(f.test().isPressed(k.key));
        EXPECT_TRUE(f.test().isTested(k.key));
        seen += fresh;
        EXPECT_EQ(f.test().testedCount(), seen);
    }
    EXPECT_TRUE(f.report().contains("Last key: PRINT SCREEN (key 75)")) << f.report().toStdString();
    EXPECT_TRUE(f.report().contains(QStringLiteral("Keys seen: %1 of 108").arg(seen)));

    f.stroke(KEY_F13); // no such key here
    EXPECT_EQ(f.test().testedCount(), seen);
    EXPECT_TRUE(f.report().contains("Last key: F13, not a key of this keyboard"));

    // A key held while the window loses the keyboard was seen all the same.
    f.send(KEY_KP5, true);
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&f.window, &away);
    EXPECT_FALSE(f.test().isPressed(101));
    EXPECT_TRUE(f.test().isTested(101));

    // In Chinese the report says the same.
    f.attached.state.language = "zh-CN";
    f.window.grab();
    EXPECT_TRUE(f.report().contains(QString::fromUtf8("已测试：%1 / 108").arg(seen + 1)));
}

// While it is on, keys do nothing else in the window: no undo, no Tab, no Space or Enter on
// the button with the focus mark. Esc ends it without counting, and the keys act again.
TEST(MainWindowKeyTest, KeysReachNothingElseAndEscEndsIt)
{
    KeyTestFixture f;
    ASSERT_TRUE(f.started);
    ASSERT_TRUE(f.active);
    KeyMapChange change;
    change.key = 30;
    change.layer = 0;
    change.assignment = {KeyAssignment::Multimedia, 110, {}};
    f.window.keyCommand().store(change);
    const auto code = [&] {
        return f.attached.state.code[std::size_t(AppState::index(30, 0))];
    };
    ASSERT_EQ(code(), 110);

    // The mark on the first button (Save), then the test on.
    QTest::keyClick(&f.window, Qt::Key_Tab);
    const int marked = f.window.frameFocus().focusedEntry();
    ASSERT_GE(marked, 0);
    f.window.runCommand(KeyTestButton);

    QTest::keyClick(&f.window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(code(), 110);
    QTest::keyClick(&f.window, Qt::Key_Tab);
    QTest::keyClick(&f.window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(f.window.frameFocus().focusedEntry(), marked);
    QTest::keyClick(&f.window, Qt::Key_Space);
    QTest::keyClick(&f.window, Qt::Key_Return);
    EXPECT_EQ(f.window.saveDialogs, 0);
    EXPECT_TRUE(f.window.keyTester().isOn());

    // Esc: the test ends, Esc is not one of the keys seen, the window stays.
    f.send(KEY_A, true);
    f.send(KEY_A, false);
    f.send(KEY_ESC, true, Qt::Key_Escape);
    f.send(KEY_ESC, false, Qt::Key_Escape);
    EXPECT_FALSE(f.window.keyTester().isOn());
    EXPECT_FALSE(f.test().isTested(1));
    EXPECT_TRUE(f.window.isVisible());
    f.window.grab();
    EXPECT_FALSE(f.report().contains("Key test"));

    QTest::keyClick(&f.window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(code(), 110);

    // The heatmap and the key test colour the caps each their own way: one at a time.
    for (int key = 1; key <= AppState::KeyCount; ++key)
        f.attached.state.pressCounters.counts[std::size_t(key)] = key;
    f.attached.state.pressCounters.updateExtremes();
    ASSERT_TRUE(f.window.heatmap().setOn(true));
    f.window.runCommand(KeyTestButton);
    EXPECT_TRUE(f.window.keyTester().isOn());
    EXPECT_FALSE(f.window.heatmap().isOn());
    f.window.runCommand(HeatmapButton);
    EXPECT_TRUE(f.window.heatmap().isOn());
    EXPECT_FALSE(f.window.keyTester().isOn());
}
