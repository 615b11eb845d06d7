#include "MainWindowHarness.h"

#include "app/KeyCommand.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"
#include "skin/FrameFocus.h"
#include "skin/SkinLibrary.h"
#include "tests/support/Artefacts.h"
#include "tests/support/TestEvents.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

struct StartedWindow {
    explicit StartedWindow(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts, positionCodedSkin(FaceSize))
    {
        started = window.initialise();
        if (started)
            window.show();
    }
    AttachedKeyboard attached;
    ScriptedMainWindow window;
    bool started = false;
};

// Every element of the tree below `parent`, by name, with its role.
void collect(QAccessibleInterface *parent, std::multimap<QString, QAccessible::Role> &found)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->parent(), parent);
        found.emplace(child->text(QAccessible::Name), child->role());
        collect(child, found);
    }
}

// The name of the entry with the keyboard focus, as assistive technology learns it.
QString focusedName(CNuboDlg &window)
{
    if (window.frameFocus().focusedEntry() < 0)
        return {};
    QAccessibleInterface *focus = QAccessible::queryAccessibleInterface(&window)->focusChild();
    return focus ? focus->text(QAccessible::Name) : QString();
}

// What the table calls every key (its name, not always its caption).
std::vector<QString> keyNames(int variant)
{
    std::vector<QString> names;
    for (DrawnButton &entry : MainWindowTable::build(variant)) {
        if (entry.keyIndex > 0)
            names.push_back(QString::fromStdString(entry.tooltip("en-US")));
    }
    return names;
}

} // namespace

TEST(MainWindowAccessibility, TreeNamesEveryToolButtonAndKeyInBothLanguages)
{
    StartedWindow s(4);
    ASSERT_TRUE(s.started);
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&s.window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);

    const QStringList chinese{"最小化",   "帮助",     "退出",     "保存配置",   "打开配置",
                              "恢复默认", "写入按键", "设置背光", "读取配置",   "固件升级",
                              "读取计数", "English",  "Fn组合层", "按键热力图", "按键测试"};
    const QStringList english{"Minimise",    "Help",      "Exit",     "Save",    "Open",
                              "Default",     "WriteKeys", "LightSet", "ReadAll", "Update",
                              "ReadCounter", "简体中文",  "FnLayer",  "Heatmap", "Key test"};
    const auto check = [&](const QStringList &tools) {
        std::multimap<QString, QAccessible::Role> found;
        collect(frame, found);
        int buttons = 0;
        for (const auto &[name, role] : found)
            buttons += role == QAccessible::Button;
        EXPECT_EQ(buttons, 15 + 108); // the tool bar, the two toggles of the card and the keys
        for (const QString &tool : tools) {
            EXPECT_EQ(found.count(tool), 1u) << qPrintable(tool);
            const auto at = found.find(tool);
            if (at != found.end()) {
                EXPECT_EQ(at->second, QAccessible::Button) << qPrintable(tool);
            }
        }
        for (const QString &key : keyNames(4))
            EXPECT_GE(found.count(key), 1u) << qPrintable(key);
        // The legend and the layer labels are read as text.
        const auto legend = found.find(s.attached.state.chinese() ? "宏定义键" : "Macro");
        ASSERT_NE(legend, found.end());
        EXPECT_EQ(legend->second, QAccessible::StaticText);
    };
    check(chinese);

    // The language button, pressed through its action, renames everything.
    QAccessibleInterface *language = findByName(frame, QStringLiteral("English"));
    ASSERT_NE(language, nullptr);
    language->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(s.attached.state.language, "en-US");
    check(english);

    // Keys say what they do on the layer shown.
    s.attached.state.category[AppState::index(43, 0)] = KeyAssignment::Multimedia;
    s.attached.state.code[AppState::index(43, 0)] = 111;
    QAccessibleInterface *a = findByName(frame, QStringLiteral("A"));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->text(QAccessible::Description).startsWith(QStringLiteral("Multimedia")))
        << qPrintable(a->text(QAccessible::Description));
    EXPECT_EQ(a->parent()->role(), QAccessible::Grouping);
    EXPECT_EQ(a->parent()->childCount(), 108);
}

TEST(MainWindowAccessibility, PressingThroughTheActionRunsTheCommand)
{
    StartedWindow s(2);
    ASSERT_TRUE(s.started);
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&s.window);
    // The smaller models have no backlight button.
    EXPECT_EQ(findByName(frame, QStringLiteral("设置背光")), nullptr);
    QAccessibleInterface *layer = findByName(frame, QStringLiteral("Fn组合层"));
    ASSERT_NE(layer, nullptr);
    EXPECT_TRUE(layer->state().checkable);
    EXPECT_FALSE(layer->state().checked);
    layer->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(s.attached.state.currentLayer, 1);
    EXPECT_TRUE(layer->state().checked);
}

TEST(MainWindowAccessibility, TabGoesThroughTheToolBarThenTheKeyboard)
{
    StartedWindow s(4);
    ASSERT_TRUE(s.started);
    QStringList order;
    for (int i = 0; i < 16; ++i) {
        sendKey(s.window, Qt::Key_Tab);
        order << focusedName(s.window);
    }
    EXPECT_EQ(order, (QStringList{"最小化", "帮助", "退出", "保存配置", "打开配置", "恢复默认",
                                  "写入按键", "设置背光", "读取配置", "固件升级", "读取计数",
                                  "English", "Fn组合层", "Esc", "按键热力图", "按键测试"}));
    sendKey(s.window, Qt::Key_Backtab, Qt::ShiftModifier);
    sendKey(s.window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focusedName(s.window), QStringLiteral("Esc"));
    sendKey(s.window, Qt::Key_Down);
    EXPECT_EQ(focusedName(s.window), QStringLiteral("~"));
    sendKey(s.window, Qt::Key_Right);
    EXPECT_EQ(focusedName(s.window), QStringLiteral("1"));
    // The report tells about the key with the mark, as it does for the one under the pointer.
    grabWindow(s.window);
    EXPECT_NE(s.window.reportText().find("FN组合键"), std::string::npos);
}

TEST(MainWindowAccessibility, SpaceOnAKeyOpensItsSettings)
{
    StartedWindow s(4);
    ASSERT_TRUE(s.started);
    SkinLibrary skins;
    ASSERT_TRUE(skins.load(QCoreApplication::applicationDirPath(), 4));
    s.window.setSkinLibrary(&skins);
    std::vector<int> opened;
    s.window.keyCommand().setDialogHook([&](CNuboDialogKeyMapSettings &dialog) {
        opened.push_back(dialog.model().key());
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    for (int i = 0; i < 14; ++i)
        sendKey(s.window, Qt::Key_Tab);
    sendKey(s.window, Qt::Key_Right); // F1, key 2
    sendKey(s.window, Qt::Key_Space);
    EXPECT_EQ(opened, (std::vector<int>{2}));
    sendKey(s.window, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<int>{2, 2}));
}

// With the built face: the mark on a tool button and on a key, left in test-artefacts/ for
// people to look at.
TEST(MainWindowAccessibility, TheMarkIsSeenOnTheBuiltFace)
{
    const QString folder = artefactFolder();
    AttachedKeyboard attached(4);
    SkinLibrary skins;
    ASSERT_TRUE(skins.load(QCoreApplication::applicationDirPath(), 4));
    ScriptedMainWindow window(attached.state, attached.fonts,
                              skins.images(SkinIds::skinSet(SkinDialog::MainWindow, 4)));
    ASSERT_TRUE(window.initialise());
    window.show();
    const QColor accent = colourFromWindows(0x006FFF);
    const auto markedEdge = [&] {
        const DrawnButton &entry = window.table()[std::size_t(window.frameFocus().focusedEntry())];
        const QImage face = grabWindow(window);
        return face.pixelColor(entry.rect.left + 1, (entry.rect.top + entry.rect.bottom) / 2);
    };
    for (int i = 0; i < 4; ++i)
        sendKey(window, Qt::Key_Tab); // Save
    EXPECT_EQ(markedEdge(), accent);
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath("main-window-focus-tool.png")));
    for (int i = 0; i < 10; ++i)
        sendKey(window, Qt::Key_Tab); // into the keys
    sendKey(window, Qt::Key_Down);
    sendKey(window, Qt::Key_Right);
    EXPECT_EQ(markedEdge(), accent);
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath("main-window-focus-key.png")));
}
