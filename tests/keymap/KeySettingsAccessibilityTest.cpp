#include "KeySettingsHarness.h"

#include "skin/CSkinScrollBar.h"
#include "skin/FrameFocus.h"
#include "tests/support/TestEvents.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace KeySettingsTable;
using Recording = KeySettingsModel::Recording;

namespace {

// What has the keyboard focus: the name of an entry, or the object name of a field.
QString focused(CNuboDialogKeyMapSettings &dialog)
{
    if (dialog.frameFocus().focusedEntry() >= 0) {
        QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(&dialog)->focusChild();
        return focus ? focus->text(QAccessible::Name) : QStringLiteral("?");
    }
    QWidget *widget = dialog.focusWidget();
    return widget ? widget->objectName() : QString();
}

// Tabs until the focus is on `name`; false when a round of the dialog did not reach it.
bool tabTo(CNuboDialogKeyMapSettings &dialog, const QString &name)
{
    for (int i = 0; i < 60 && focused(dialog) != name; ++i)
        sendKey(dialog, Qt::Key_Tab);
    return focused(dialog) == name;
}

} // namespace

TEST(KeySettingsAccessibility, TheTreeFollowsThePageWithCheckedChoicesAndSelectedRows)
{
    KeySettingsFixture f(4);
    f.state->predefinedCombos = namedList(3, 6, "C");
    auto dialog = f.open();
    ASSERT_TRUE(dialog);
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(dialog.get());
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Key Settings"));

    QAccessibleInterface *single = findByName(frame, QStringLiteral("Single"));
    QAccessibleInterface *combo = findByName(frame, QStringLiteral("Combo"));
    ASSERT_TRUE(single && combo);
    EXPECT_EQ(single->role(), QAccessible::RadioButton);
    EXPECT_TRUE(single->state().checked);
    EXPECT_FALSE(combo->state().checked);
    QAccessibleInterface *tab = findByName(frame, QStringLiteral("Single/Com"));
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->role(), QAccessible::PageTab);
    EXPECT_EQ(tab->parent()->role(), QAccessible::PageTabList);
    EXPECT_EQ(tab->parent()->childCount(), 7);
    EXPECT_TRUE(tab->state().selected);
    EXPECT_NE(findByName(frame, QStringLiteral("Close")), nullptr);

    QAccessibleInterface *list = findByName(frame, QStringLiteral("Combo List"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 3); // rows without an entry are no items
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), QStringLiteral("n1"));
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);
    // The buttons of combinations do nothing in single mode.
    QAccessibleInterface *newCombo = findByName(frame, QStringLiteral("New"));
    ASSERT_NE(newCombo, nullptr);
    EXPECT_TRUE(newCombo->state().disabled);

    dialog->clickId(FirstTab + 3);
    dialog->clickId(402);
    EXPECT_EQ(findByName(frame, QStringLiteral("Single")), nullptr);
    QAccessibleInterface *media = findByName(frame, QStringLiteral("Media Function"));
    QAccessibleInterface *browser = findByName(frame, QStringLiteral("Browser Function"));
    ASSERT_TRUE(media && browser);
    EXPECT_EQ(media->childCount(), 8);
    EXPECT_EQ(browser->childCount(), 10);
    QAccessibleInterface *play = findByName(frame, QStringLiteral("Play/Pause"));
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->role(), QAccessible::RadioButton);
    EXPECT_TRUE(play->state().checked);
    EXPECT_TRUE(findByName(frame, QStringLiteral("Multimedia"))->state().selected);

    f.state->language = "zh-CN";
    EXPECT_NE(findByName(frame, QStringLiteral("播放/暂停")), nullptr);
    EXPECT_NE(findByName(frame, QStringLiteral("关闭")), nullptr);
}

TEST(KeySettingsAccessibility, TabOrderAndSpaceFollowTheClickOrder)
{
    KeySettingsFixture f(4);
    f.state->predefinedCombos = namedList(3, 6, "C");
    auto dialog = f.open();
    ASSERT_TRUE(dialog);
    QStringList order;
    for (int i = 0; i < 13; ++i) {
        sendKey(*dialog, Qt::Key_Tab);
        order << focused(*dialog);
    }
    EXPECT_EQ(order,
              (QStringList{"Close", "Single/Com", "Single", "Combo", "n0", "scroll1006", "Record",
                           "Virtual Key Input", "Default", "Clear", "OK", "Cancel", "Close"}));

    // Space on a tab is a click, held back as a release is.
    sendKey(*dialog, Qt::Key_Tab);
    sendKey(*dialog, Qt::Key_Right);
    EXPECT_EQ(focused(*dialog), QStringLiteral("Macro"));
    sendKey(*dialog, Qt::Key_Space);
    EXPECT_TRUE(dialog->clickHold().isHolding());
    EXPECT_EQ(dialog->shownPage(), 1);
    EXPECT_TRUE(waitUntil([&] { return dialog->shownPage() == 2; }));

    // While a capture runs every key is the capture's.
    dialog->clickId(FirstTab);
    dialog->model().setRecording(Recording::SingleKey);
    const int before = dialog->frameFocus().focusedEntry();
    sendKey(*dialog, Qt::Key_Tab);
    sendKey(*dialog, Qt::Key_Space);
    EXPECT_EQ(dialog->frameFocus().focusedEntry(), before);
    EXPECT_FALSE(dialog->clickHold().isHolding());
    EXPECT_EQ(dialog->model().recording(), Recording::SingleKey);
    dialog->stopRecording();

    // Space on OK confirms, once the hold is over.
    ASSERT_TRUE(tabTo(*dialog, QStringLiteral("OK")));
    sendKey(*dialog, Qt::Key_Space);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(waitUntil([&] { return dialog->result() == QDialog::Accepted; }));
    ASSERT_TRUE(dialog->change());
}

TEST(KeySettingsAccessibility, ArrowsMoveTheSelectionAndScrollTheList)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(12, 9, "M");
    auto dialog = f.open();
    ASSERT_TRUE(dialog);
    dialog->clickId(FirstTab + 1);
    ASSERT_TRUE(tabTo(*dialog, QStringLiteral("n0")));
    for (int i = 0; i < 10; ++i)
        sendKey(*dialog, Qt::Key_Down);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 10);
    EXPECT_EQ(dialog->model().macros().list().top, 2);
    EXPECT_EQ(focused(*dialog), QStringLiteral("n10"));
    EXPECT_EQ(dialog->entryScrollBar().scrollInfo().position, 10);
    EXPECT_TRUE(saveArtefact(*dialog, ColourKey, QStringLiteral("key-settings-focus-row")));
    sendKey(*dialog, Qt::Key_Home);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 0);
    EXPECT_EQ(focused(*dialog), QStringLiteral("n0"));
    sendKey(*dialog, Qt::Key_Up); // the top: stays
    EXPECT_EQ(focused(*dialog), QStringLiteral("n0"));
    sendKey(*dialog, Qt::Key_End);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 11);
    // The step list is a stop of its own after the entries and their scroll bar.
    sendKey(*dialog, Qt::Key_Tab);
    EXPECT_EQ(focused(*dialog), QStringLiteral("scroll1006"));
    sendKey(*dialog, Qt::Key_Tab);
    EXPECT_EQ(focused(*dialog), QStringLiteral("M11"));
}

TEST(KeySettingsAccessibility, ARecordingStartedFromTheKeyboardRecordsTabSpaceEnterAndArrows)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(1, 9, "M");
    auto dialog = f.open();
    ASSERT_TRUE(dialog);
    dialog->clickId(FirstTab + 1);
    ASSERT_TRUE(tabTo(*dialog, QStringLiteral("Record")));
    const int record = dialog->frameFocus().focusedEntry();
    sendKey(*dialog, Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return dialog->isRecording(); }));
    EXPECT_EQ(dialog->model().recording(), Recording::Macro);

    // Through the dialog's grab: the keys as the window system gives them, evdev codes and all.
    const auto stroke = [&](int qtKey, unsigned short evdev) {
        for (const bool press : {true, false}) {
            QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier,
                            quint32(evdev) + 8, 0, 0);
            QApplication::sendEvent(dialog.get(), &event);
        }
    };
    stroke(Qt::Key_Tab, KEY_TAB);
    stroke(Qt::Key_Space, KEY_SPACE);
    stroke(Qt::Key_Return, KEY_ENTER);
    stroke(Qt::Key_Left, KEY_LEFT);
    EXPECT_TRUE(dialog->isRecording());
    EXPECT_EQ(dialog->result(), 0); // Enter did not confirm
    EXPECT_EQ(dialog->frameFocus().focusedEntry(), record);
    EXPECT_FALSE(dialog->clickHold().isHolding());

    // Stopped, the macro holds the four keys, pressed and released.
    dialog->stopRecording();
    std::vector<std::string> downs;
    for (const std::string &step : dialog->model().macros().current().names) {
        if (step.size() > 5 && step.ends_with(" Down"))
            downs.push_back(step.substr(0, step.size() - 5));
    }
    EXPECT_EQ(downs, (std::vector<std::string>{"TAB", "SPACEBAR", "ENTER", "LEFT ARROW"}));
}
