#include "KeySettingsHarness.h"

#include "keymap/KeySettingsFields.h"
#include "skin/CSkinScrollBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace KeySettingsTable;
using Steps = std::vector<std::string>;

namespace {

constexpr std::uintptr_t Up = 0x80000000u;
constexpr std::uintptr_t System = 0x40000000u;
constexpr std::intptr_t Extended = 0x01000000;

// One keystroke as the two ways see it: the window system's key event (evdev code, auto-repeat
// flag) and the message the Windows hook posts for it. X11 repeats a held key as release and
// press pairs, the hook as further presses.
struct Stroke {
    unsigned short evdev;
    bool press;
    bool repeat;
    std::uint32_t time;
    std::uintptr_t wParam; // 0: the hook posts nothing for this event
    std::intptr_t lParam;
};

const Stroke strokes[] = {
    {KEY_LEFTSHIFT, true, false, 1000, 0xA0, 0},
    {KEY_A, true, false, 1100, 0x41, 0},
    {KEY_A, false, false, 1150, Up | 0x41, 0},
    {KEY_LEFTSHIFT, false, false, 1200, Up | 0xA0, 0},
    {KEY_RIGHTSHIFT, true, false, 1300, 0xA1, 0},
    {KEY_RIGHTSHIFT, false, false, 1320, Up | 0xA1, 0},
    {KEY_RIGHTCTRL, true, false, 1400, 0xA3, Extended},
    {KEY_KPENTER, true, false, 1450, 0x0D, Extended},
    {KEY_KPENTER, false, false, 1470, Up | 0x0D, Extended},
    {KEY_RIGHTCTRL, false, false, 1500, Up | 0xA3, Extended},
    {KEY_ENTER, true, false, 1600, 0x0D, 0},
    {KEY_ENTER, false, true, 2100, 0, 0},
    {KEY_ENTER, true, true, 2100, 0x0D, 0},
    {KEY_ENTER, false, true, 2133, 0, 0},
    {KEY_ENTER, true, true, 2133, 0x0D, 0},
    {KEY_ENTER, false, false, 2200, Up | 0x0D, 0},
    {KEY_RIGHTALT, true, false, 2300, System | 0xA5, Extended},
    {KEY_RIGHTALT, false, false, 2350, Up | 0xA5, Extended},
    // A repeat whose release the window system did not mark: the press at the same moment
    // gives it away.
    {KEY_B, true, false, 2400, 0x42, 0},
    {KEY_B, false, false, 2900, 0, 0},
    {KEY_B, true, false, 2900, 0x42, 0},
    {KEY_B, false, false, 3000, Up | 0x42, 0},
};

void sendKey(QWidget &dialog, unsigned short evdev, bool press, bool repeat, std::uint32_t time,
             int qtKey = 0)
{
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier,
                    quint32(evdev) + 8, 0, 0, QString(), repeat);
    event.setTimestamp(time);
    QApplication::sendEvent(&dialog, &event);
}

// Records a macro by the library's hook (its messages posted to the window it was given) or
// by the dialog's own grab (key events), and gives the steps.
Steps recordMacro(bool byHook)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(1, 9, "M");
    auto dialog = f.open();
    dialog->clickId(FirstTab + 1);
    dialog->recordingHook().setGlobalHook(FakeHook::hook(byHook));
    dialog->clickId(RecordMacroButton);
    EXPECT_TRUE(dialog->isRecording());
    EXPECT_EQ(dialog->recordingHook().usesGlobalHook(), byHook);
    if (byHook) {
        EXPECT_EQ(FakeHook::window, dialog->messageHandle());
        EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
        for (const Stroke &s : strokes) {
            if (s.wParam)
                FakeHook::window->postTimed(0x466, s.wParam, s.lParam, s.time);
        }
        QCoreApplication::processEvents();
    } else {
        EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
        for (const Stroke &s : strokes)
            sendKey(*dialog, s.evdev, s.press, s.repeat, s.time);
    }
    // Any click stops a macro recording and does nothing else.
    dialog->clickId(FirstTab + 4);
    EXPECT_FALSE(dialog->isRecording());
    EXPECT_EQ(dialog->shownPage(), 2);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(FakeHook::uninstalls, byHook ? 1 : 0);
    return dialog->model().macros().list().items[0].names;
}

} // namespace

TEST(KeySettingsRecording, TheHookAndTheGrabRecordTheSameSteps)
{
    const Steps expected{"LSHIFT Down", "<100 ms>",   "A Down",     "<50 ms>",     "A UP",
                         "<50 ms>",     "LSHIFT UP",  "<100 ms>",   "RSHIFT Down", "<20 ms>",
                         "RSHIFT UP",   "<80 ms>",    "RCTRL Down", "<50 ms>",     "(Enter) Down",
                         "<20 ms>",     "(Enter) UP", "<30 ms>",    "RCTRL UP",    "<100 ms>",
                         "ENTER Down",  "<600 ms>",   "ENTER UP",   "<100 ms>",    "RALT Down",
                         "<50 ms>",     "RALT UP",    "<50 ms>",    "B Down",      "<600 ms>",
                         "B UP",        "<50 ms>"};
    EXPECT_EQ(recordMacro(true), expected);
    EXPECT_EQ(recordMacro(false), expected);
}

TEST(KeySettingsRecording, WhileTheGrabRecordsKeysActOnNothingElse)
{
    KeySettingsFixture f(4);
    f.state->predefinedEmulations = namedList(1, 9, "E");
    auto dialog = f.open();
    dialog->clickId(FirstTab + 2);
    dialog->fields().times()->setFocus();
    QWidget *focus = QApplication::focusWidget();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(false));
    dialog->clickId(RecordEmuButton);
    ASSERT_TRUE(dialog->isRecording());

    // Enter does not confirm, Esc does not cancel, Tab moves no focus, digits reach no field.
    const std::pair<unsigned short, int> keys[] = {{KEY_ENTER, Qt::Key_Return},
                                                   {KEY_ESC, Qt::Key_Escape},
                                                   {KEY_TAB, Qt::Key_Tab},
                                                   {KEY_1, Qt::Key_1}};
    std::uint32_t time = 10;
    for (const auto &[evdev, qtKey] : keys) {
        sendKey(*dialog, evdev, true, false, time++, qtKey);
        sendKey(*dialog, evdev, false, false, time++, qtKey);
    }
    // Keys without a virtual key are dropped.
    sendKey(*dialog, KEY_MICMUTE, true, false, time++);
    dialog->grab();
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), focus);
    EXPECT_EQ(dialog->fields().times()->text(), "30");
    EXPECT_EQ(dialog->model().emulations().current().names, (Steps{"ENTER", "ESC", "TAB", "1"}));

    // Once stopped, keys are the dialog's again.
    dialog->clickId(RecordEmuButton);
    EXPECT_FALSE(dialog->isRecording());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST(KeySettingsRecording, CaptureAndCombinationRecordingInTheDialog)
{
    KeySettingsFixture f(4);
    f.state->predefinedCombos = namedList(2, 6, "C");
    auto dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));

    // The single key: the last key pressed, and a word for keys the keyboard lacks.
    dialog->clickId(CaptureKeyButton);
    ASSERT_TRUE(dialog->isRecording());
    dialog->hookMessage(0x42, 0, 5u);
    EXPECT_EQ(dialog->model().singleKeyCode(), 60);
    dialog->hookMessage(0xF3, 0, 6u);
    const int noKey = f.state->catalogue.keyOfCode(0);
    EXPECT_EQ(dialog->unknownKeys,
              (std::vector<QString>{QString::asprintf("a=243, b=0, c=%d", noKey)}));
    // OK stops the capture and confirms what it holds: nothing for a key without a code.
    dialog->hookMessage(0x43, 0, 7u);
    dialog->clickId(OkButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.code, 58);
    EXPECT_EQ(FakeHook::uninstalls, 1);

    // A combination is recorded only in combo mode; OK stores it with the list.
    dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
    dialog->clickId(RecordComboButton);
    EXPECT_FALSE(dialog->isRecording());
    dialog->clickId(ComboRadio);
    dialog->clickId(FirstComboRow + 1);
    dialog->clickId(RecordComboButton);
    ASSERT_TRUE(dialog->isRecording());
    for (std::uintptr_t vk : {0xA2u, 0xA0u, 0x53u})
        dialog->hookMessage(vk, 0, 1u);
    dialog->grab();
    EXPECT_EQ(dialog->fields().comboKeys()->toPlainText(), "LCTRL + LSHIFT + S");
    dialog->clickId(OkButton);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.category, KeyAssignment::Combo);
    EXPECT_EQ(dialog->change()->assignment.action.names, (Steps{"LCTRL", "LSHIFT", "S"}));
    EXPECT_EQ(dialog->change()->listValue.items[1].names, (Steps{"LCTRL", "LSHIFT", "S"}));
    EXPECT_EQ(dialog->change()->listValue.items[0].names, (Steps{"C0"}));
}

TEST(KeySettingsRecording, AClickOnABarOrFieldOnlyStopsTheRecording)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(12, 9, "M");
    f.state->predefinedCombos = namedList(8, 6, "C");
    auto dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
    const ActionList &macros = dialog->model().macros().list();
    CSkinScrollBar &entries = dialog->entryScrollBar();
    const QPoint upArrow(entries.width() / 2, 3);
    const QPoint downArrow(entries.width() / 2, entries.height() - 3);

    // The entry list's arrow during a macro recording: the entry recorded into ends as it
    // should and stays current; the next key is no one's.
    dialog->clickId(FirstTab + 1);
    dialog->clickId(FirstMacroRow + 1);
    dialog->clickId(RecordMacroButton);
    dialog->hookMessage(0x42, 0, 100u);
    dialog->hookMessage(Up | 0x42, 0, 160u);
    click(entries, upArrow);
    EXPECT_FALSE(dialog->isRecording());
    EXPECT_EQ(FakeHook::uninstalls, 1);
    dialog->hookMessage(0x43, 0, 900u);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 1);
    EXPECT_EQ(macros.items[1].names, (Steps{"B Down", "<60 ms>", "B UP", "<50 ms>"}));
    EXPECT_EQ(macros.items[0].names, (Steps{"M0"}));
    // Once stopped the bar scrolls again.
    click(entries, upArrow);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 0);

    // A move asked for otherwise (a screen reader's), a click on a field or beside the
    // buttons: each only stops it.
    dialog->clickId(RecordMacroButton);
    emit entries.scrollRequested(CSkinScrollBar::PageDown, 0);
    EXPECT_FALSE(dialog->isRecording());
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 0);
    dialog->clickId(RecordMacroButton);
    dialog->fields().times()->clearFocus();
    click(*dialog->fields().times(), QPoint(5, 5));
    EXPECT_FALSE(dialog->isRecording());
    EXPECT_FALSE(dialog->fields().times()->hasFocus());
    dialog->clickId(RecordMacroButton);
    click(*dialog, centreOf(*dialog, 270));
    EXPECT_FALSE(dialog->isRecording());

    // A combination: its keys stay in its own entry, the one below keeps its own.
    dialog->clickId(FirstTab);
    dialog->clickId(ComboRadio);
    dialog->clickId(FirstComboRow + 5);
    dialog->clickId(RecordComboButton);
    dialog->hookMessage(0x41, 0, 1u);
    click(entries, downArrow);
    dialog->hookMessage(0x43, 0, 2u);
    EXPECT_FALSE(dialog->isRecording());
    EXPECT_EQ(dialog->model().combos().selectedIndex(), 5);
    EXPECT_EQ(dialog->model().combos().list().items[5].names, (Steps{"A"}));
    EXPECT_EQ(dialog->model().combos().list().items[6].names, (Steps{"C6"}));
}

TEST(KeySettingsRecording, KeysTypedWhileAClickIsHeldFollowIt)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(1, 9, "M");
    // Typed as the window system delivers keys: to whatever has the focus at that moment.
    const auto type = [](unsigned short evdev, int qtKey, const QString &text) {
        for (QEvent::Type kind : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QWidget *focus = QApplication::focusWidget();
            if (!focus)
                focus = QApplication::activeWindow();
            QKeyEvent event(kind, qtKey, Qt::NoModifier, quint32(evdev) + 8, 0, 0, text);
            if (focus)
                QApplication::sendEvent(focus, &event);
        }
    };
    const auto opened = [&] {
        auto dialog = f.open();
        dialog->activateWindow();
        EXPECT_TRUE(waitUntil([&] { return dialog->isActiveWindow(); }));
        dialog->recordingHook().setGlobalHook(FakeHook::hook(false));
        return dialog;
    };
    const auto handled = [](ScriptedKeySettings &dialog) {
        return waitUntil(
            [&] { return !dialog.clickHold().isHolding() && dialog.clickHold().keptKeys() == 0; });
    };

    // Record, and Enter at once: the capture takes Enter, which confirms nothing.
    auto dialog = opened();
    click(*dialog, centreOf(*dialog, CaptureKeyButton));
    ASSERT_TRUE(dialog->clickHold().isHolding());
    type(KEY_ENTER, Qt::Key_Return, "\r");
    ASSERT_TRUE(handled(*dialog));
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isRecording());
    EXPECT_EQ(dialog->model().singleKey(), 13);

    // The Macro tab, then at once New with the times field focused, and a name typed at
    // once: New is the Macro page's, the name the new entry's, the first entry keeps its times.
    dialog = opened();
    click(*dialog, centreOf(*dialog, FirstTab + 1));
    dialog->fields().times()->setFocus();
    click(*dialog, centreOf(*dialog, NewMacroButton));
    EXPECT_EQ(dialog->shownPage(), 2);
    const struct {
        unsigned short evdev;
        int qtKey;
        const char *text;
    } name[] = {{KEY_S, Qt::Key_S, "s"},
                {KEY_E, Qt::Key_E, "e"},
                {KEY_C, Qt::Key_C, "c"},
                {KEY_2, Qt::Key_2, "2"}};
    for (const auto &k : name)
        type(k.evdev, k.qtKey, QString::fromLatin1(k.text));
    type(KEY_ENTER, Qt::Key_Return, "\r");
    ASSERT_TRUE(handled(*dialog));
    const ActionList &macros = dialog->model().macros().list();
    ASSERT_EQ(macros.size(), 2);
    EXPECT_EQ(macros.names[1], "sec2");
    EXPECT_EQ(macros.items[0].times, 1);
    EXPECT_FALSE(dialog->fields().inPlace()->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(dialog->virtualModes, 0);
}

TEST(KeySettingsRecording, TheUnknownKeyMessageHasTheKeyboardUntilItCloses)
{
    KeySettingsFixture f(4);
    auto dialog = f.open();
    dialog->showsMessages = true;
    dialog->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return dialog->isActiveWindow(); }));
    dialog->recordingHook().setGlobalHook(FakeHook::hook(false));
    dialog->clickId(CaptureKeyButton);
    ASSERT_EQ(QWidget::keyboardGrabber(), dialog.get());
    // Keys go where the window system sends them while a grab holds the keyboard.
    std::uint32_t time = 10;
    const auto type = [&](unsigned short evdev, int qtKey) {
        for (bool press : {true, false}) {
            QWidget *grabber = QWidget::keyboardGrabber();
            ASSERT_TRUE(grabber);
            sendKey(*grabber, evdev, press, false, time++, qtKey);
        }
    };

    // Sleep has no key of its own: the message comes up with the keyboard; Enter closes it
    // and is no key captured; the capture goes on.
    for (const auto &[closer, qtKey] :
         {std::pair{KEY_ENTER, Qt::Key_Return}, std::pair{KEY_ESC, Qt::Key_Escape}}) {
        type(KEY_B, Qt::Key_B);
        type(KEY_SLEEP, 0);
        auto *box = dialog->findChild<QMessageBox *>();
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(QWidget::keyboardGrabber(), box);
        type(closer, qtKey);
        EXPECT_FALSE(box->isVisible()) << qtKey;
        EXPECT_TRUE(dialog->isRecording());
        EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
        EXPECT_EQ(dialog->model().singleKeyCode(), 0);
        type(KEY_C, Qt::Key_C);
        EXPECT_EQ(dialog->model().singleKeyCode(), 58);
    }
    EXPECT_EQ(dialog->unknownKeys.size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    dialog->clickId(CaptureKeyButton);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

TEST(KeySettingsRecording, EscHeldForASecondStopsTheRecordingWithoutItself)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(1, 9, "M");
    auto dialog = f.open();
    const ActionList &macro = dialog->model().macros().current();
    const auto stopped = [&] {
        return waitUntil([&] { return !dialog->isRecording(); },
                         KeySettingsRecording::StopHoldMs + 2000);
    };

    // Through the hook: Esc pressed briefly, or with another key while down, is a step; held
    // alone it stops the macro, which ends as if clicked, and the keyboard is kept until Esc
    // is let go.
    dialog->clickId(FirstTab + 1);
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
    dialog->clickId(RecordMacroButton);
    dialog->hookMessage(0x1B, 0, 100u);
    dialog->hookMessage(Up | 0x1B, 0, 150u);
    dialog->hookMessage(0x1B, 0, 200u);
    dialog->hookMessage(0x41, 0, 210u);
    dialog->hookMessage(Up | 0x41, 0, 220u);
    runEventsFor(KeySettingsRecording::StopHoldMs / 2);
    dialog->hookMessage(Up | 0x1B, 0, 240u);
    dialog->hookMessage(0x1B, 0, 300u);
    ASSERT_TRUE(stopped());
    for (std::uint32_t t : {800u, 833u})
        dialog->hookMessage(0x1B, 0, t); // its repeats
    EXPECT_EQ(macro.names, (Steps{"ESC Down", "<50 ms>", "ESC UP", "<50 ms>", "ESC Down", "<10 ms>",
                                  "A Down", "<10 ms>", "A UP", "<20 ms>", "ESC UP", "<50 ms>"}));
    EXPECT_EQ(dialog->model().macros().list().items[0].names, macro.names);
    EXPECT_EQ(FakeHook::uninstalls, 0);
    dialog->hookMessage(Up | 0x1B, 0, 900u);
    EXPECT_EQ(FakeHook::uninstalls, 1);

    // Through the grab, the single key: the key captured before stays; Esc's repeats after the
    // stop do not cancel the dialog, and Esc is the dialog's again once let go.
    dialog->clickId(FirstTab);
    dialog->recordingHook().setGlobalHook(FakeHook::hook(false));
    dialog->clickId(CaptureKeyButton);
    sendKey(*dialog, KEY_B, true, false, 10, Qt::Key_B);
    sendKey(*dialog, KEY_B, false, false, 20, Qt::Key_B);
    sendKey(*dialog, KEY_ESC, true, false, 30, Qt::Key_Escape);
    EXPECT_EQ(dialog->model().singleKeyCode(), 1); // ESC for now
    ASSERT_TRUE(stopped());
    EXPECT_EQ(dialog->model().singleKeyCode(), 60);
    sendKey(*dialog, KEY_ESC, true, true, 1100, Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    sendKey(*dialog, KEY_ESC, false, false, 1200, Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([] { return QWidget::keyboardGrabber() == nullptr; }));
    EXPECT_TRUE(dialog->isVisible());
    dialog->clickId(OkButton);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.code, 60);
}
