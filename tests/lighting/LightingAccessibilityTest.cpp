#include "LightingHarness.h"

#include "layout/BacklightTable.h"
#include "layout/MultiKeyTable.h"
#include "skin/FrameFocus.h"
#include "tests/support/Artefacts.h"
#include "tests/support/TestEvents.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <map>

namespace {

// Names of the buttons in the tree, with how often each occurs.
std::map<QString, int> buttonNames(QAccessibleInterface *parent)
{
    std::map<QString, int> names;
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (child->role() == QAccessible::Button)
            ++names[child->text(QAccessible::Name)];
        for (const auto &[name, count] : buttonNames(child))
            names[name] += count;
    }
    return names;
}

QString focusedName(SkinnedDialog &dialog)
{
    QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(&dialog)->focusChild();
    return focus ? focus->text(QAccessible::Name) : QString();
}

} // namespace

// The tool buttons by their text in both languages, the keys by name with their colour, and a
// key pressed from the keyboard or through its action opens the colour chooser for it.
TEST(LightingAccessibility, BacklightKeysAreNamedWithTheirColourAndOpenTheChooser)
{
    JobFixture f(4);
    f.state.language = "zh-CN";
    f.state.lightSettings = distinctColours();
    f.state.lightSettings[1] = {255, 128, 0};
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_NE(frame, nullptr);

    std::map<QString, int> names = buttonNames(frame);
    int buttons = 0;
    for (const auto &[name, count] : names)
        buttons += count;
    EXPECT_EQ(buttons, 8 + 108);
    for (const char *tool : {"关闭", "读取背光", "恢复默认", "写入背光", "取消", "确定", "全域设置",
                             "多键设置", "Esc", "PrintScreen"})
        EXPECT_EQ(names[QString::fromUtf8(tool)], 1) << tool;
    EXPECT_NE(findByName(frame, QStringLiteral("背光设置面板")), nullptr); // the title, as text
    f.state.language = "en-US";
    names = buttonNames(frame);
    for (const char *tool : {"Close", "Read", "Default", "Write", "Cancel", "OK", "Set All",
                             "Multi Key", "PrintScreen"})
        EXPECT_EQ(names[QString::fromUtf8(tool)], 1) << tool;

    QAccessibleInterface *esc = findByName(frame, QStringLiteral("Esc"));
    ASSERT_NE(esc, nullptr);
    EXPECT_EQ(esc->text(QAccessible::Description),
              QStringLiteral("Colour #FF8000 (red 255, green 128, blue 0)"));
    EXPECT_EQ(esc->parent()->childCount(), 108);

    // Through the action: the chooser opens for Esc once the request is answered.
    esc->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.chooser.asked.size(), 1u);
    EXPECT_EQ(dialog.chooser.asked.back().initial, (LightColour{255, 128, 0}));

    // From the keyboard: into the keys, one to the right, Space.
    for (int i = 0; i < 20 && focusedName(dialog) != QStringLiteral("Esc"); ++i)
        sendKey(dialog, Qt::Key_Tab);
    ASSERT_EQ(focusedName(dialog), QStringLiteral("Esc"));
    sendKey(dialog, Qt::Key_Right);
    EXPECT_EQ(focusedName(dialog), QStringLiteral("F1"));
    const QString folder = artefactFolder();
    EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath("backlight-focus-key.png")));
    sendKey(dialog, Qt::Key_Space);
    ASSERT_EQ(dialog.chooser.asked.size(), 2u);
    EXPECT_EQ(dialog.chooser.asked.back().initial, f.state.lightSettings[2]);
}

// In the multi-key dialog keys are toggles: Space chooses one and unchooses it again, and the
// tree says which are chosen.
TEST(LightingAccessibility, MultiKeyKeysToggleFromTheKeyboard)
{
    JobFixture f(4);
    f.state.language = "en-US";
    ScriptedBacklight dialog(f);
    ASSERT_TRUE(dialog.initialise());
    bool ran = false;
    dialog.multiKeyScript = [&](CNuboDialogBkLightMultiSelect &multi) {
        ran = true;
        multi.show();
        QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&multi);
        EXPECT_EQ(buttonNames(frame).count(QStringLiteral("Set Color")), 1u);
        EXPECT_EQ(buttonNames(frame).count(QStringLiteral("Close")), 1u);
        QAccessibleInterface *a = findByName(frame, QStringLiteral("A"));
        EXPECT_TRUE(a && a->state().checkable && !a->state().checked);

        for (int i = 0; i < 10 && focusedName(multi) != QStringLiteral("Esc"); ++i)
            sendKey(multi, Qt::Key_Tab);
        EXPECT_EQ(focusedName(multi), QStringLiteral("Esc"));
        sendKey(multi, Qt::Key_Space);
        EXPECT_EQ(multi.selectedCount(), 1);
        EXPECT_TRUE(findByName(frame, QStringLiteral("Esc"))->state().checked);
        sendKey(multi, Qt::Key_Space);
        EXPECT_EQ(multi.selectedCount(), 0);
        if (a) {
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
            EXPECT_TRUE(a->state().checked);
        }
        return int(QDialog::Rejected);
    };
    dialog.clickId(BacklightTable::MultiKeyButton);
    EXPECT_TRUE(ran);
}
