#include "skin/FrameAccessibility.h"
#include "skin/FrameFocus.h"
#include "skin/SkinnedDialog.h"

#include "FrameSettings.h"
#include "layout/WindowsColour.h"
#include "skin/FontTable.h"
#include "tests/support/TestEvents.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t Key = 0xFF0000;
const QColor Accent = colourFromWindows(0x006FFF);

QImage face(const QColor &colour)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Two buttons, the second named by a label on it; a field beside them; three keys below; a
// heading; and a button shown on page 2 only.
class AccessibleDialog : public SkinnedDialog {
public:
    AccessibleDialog(FrameSettings &state, const FontTable &fonts)
        : SkinnedDialog({state.language, state.scaleFactor, fonts}, 9, Key)
    {
        setSkin({face(QColor(30, 30, 30)), face(QColor(60, 60, 60)), face(QColor(0, 90, 0))});
    }

    int page = 1;
    bool captured = false;
    std::vector<int> clicks;
    std::vector<int> keys; // what reached keyPressEvent
    QLineEdit *field = nullptr;

    using SkinnedDialog::table;

protected:
    bool initDialog() override
    {
        SkinnedDialog::initDialog();
        field = new QLineEdit(this);
        field->setGeometry(100, 10, 50, 20);
        return true;
    }
    void fillTable(ButtonTable &table) override
    {
        const auto entry = [](int id, ButtonRect rect, const char *zh, const char *en) {
            DrawnButton e;
            e.id = id;
            e.rect = rect;
            e.setCaption(zh, en);
            return e;
        };
        table[0] = entry(1, {10, 10, 40, 30}, "一", "One");
        table[0].checked = true;
        table[1] = entry(2, {50, 10, 80, 30}, "", "");
        table[2] = entry(50, {52, 14, 78, 30}, "二", "Two");
        table[2].isLabel = true;
        for (int k = 0; k < 3; ++k) {
            table[std::size_t(3 + k)] = entry(100 + k, {10 + 20 * k, 50, 30 + 20 * k, 70}, "", "");
            table[std::size_t(3 + k)].keyIndex = k + 1;
            const std::string name = "K" + std::to_string(k + 1);
            table[std::size_t(3 + k)].setTooltip(name, name);
        }
        table[6] = entry(7, {100, 40, 190, 50}, "标题", "Heading");
        table[6].isLabel = true;
        table[7] = entry(208, {10, 80, 40, 95}, "第二页", "Page two");
    }
    bool isEntryShown(const DrawnButton &entry) const override
    {
        return entry.id < 200 || page == 2;
    }
    EntryRole entryRole(const DrawnButton &entry) const override
    {
        return entry.id == 1 ? EntryRole::ToggleButton : SkinnedDialog::entryRole(entry);
    }
    bool keyboardCaptured() const override { return captured; }
    void buttonClicked(int, DrawnButton &entry) override { clicks.push_back(entry.id); }
    void keyPressEvent(QKeyEvent *event) override
    {
        keys.push_back(event->key());
        SkinnedDialog::keyPressEvent(event);
    }
};

void tab(QWidget &window, bool forward = true)
{
    if (forward)
        sendKey(window, Qt::Key_Tab);
    else
        sendKey(window, Qt::Key_Backtab, Qt::ShiftModifier);
}

struct Fixture : ::testing::Test {
    FrameSettings state;
    FontTable fonts;
    void SetUp() override
    {
        state.language = "en-US";
        state.scaleFactor = 1.0f;
    }
};

QStringList namesOf(QAccessibleInterface *parent)
{
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names << parent->child(i)->text(QAccessible::Name);
    return names;
}

std::vector<QAccessible::Event> announced;
std::vector<QString> announcedNames;
void recordEvent(QAccessibleEvent *event)
{
    announced.push_back(event->type());
    QAccessibleInterface *iface = event->accessibleInterface();
    announcedNames.push_back(iface ? iface->text(QAccessible::Name) : QString());
}

} // namespace

using FrameAccessibilityTest = Fixture;

TEST_F(FrameAccessibilityTest, TreeListsEntriesInReadingOrderAndFollowsPageAndLanguage)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.setWindowTitle(QStringLiteral("Test"));
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Test"));

    // The label on the second button is its name, not a child of its own.
    ASSERT_EQ(frame->childCount(), 5);
    EXPECT_EQ(namesOf(frame), (QStringList{"One", "Two", "", "Heading", "Keyboard"}));
    EXPECT_EQ(frame->child(0)->role(), QAccessible::Button);
    EXPECT_TRUE(frame->child(0)->state().checkable);
    EXPECT_TRUE(frame->child(0)->state().checked);
    EXPECT_FALSE(frame->child(1)->state().checkable);
    EXPECT_EQ(frame->child(2)->object(), dialog.field);
    EXPECT_EQ(frame->child(3)->role(), QAccessible::StaticText);
    QAccessibleInterface *keys = frame->child(4);
    EXPECT_EQ(keys->role(), QAccessible::Grouping);
    EXPECT_EQ(namesOf(keys), (QStringList{"K1", "K2", "K3"}));
    EXPECT_EQ(keys->child(1)->parent(), keys);
    EXPECT_EQ(keys->indexOfChild(keys->child(2)), 2);
    EXPECT_EQ(frame->indexOfChild(keys), 4);
    EXPECT_EQ(frame->child(1)->parent(), frame);
    EXPECT_EQ(frame->child(1)->rect(), QRect(dialog.mapToGlobal(QPoint(50, 10)), QSize(30, 20)));
    EXPECT_EQ(frame->childAt(dialog.mapToGlobal(QPoint(55, 15)).x(),
                             dialog.mapToGlobal(QPoint(55, 15)).y()),
              frame->child(1));

    state.language = "zh-CN";
    EXPECT_EQ(namesOf(frame), (QStringList{"一", "二", "", "标题", "键盘"}));
    dialog.page = 2;
    ASSERT_EQ(frame->childCount(), 6);
    EXPECT_EQ(frame->child(5)->text(QAccessible::Name), QStringLiteral("第二页"));
}

TEST_F(FrameAccessibilityTest, TabWalksStopsAndFieldsAndArrowsMoveWithinAGroup)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    FrameFocus &focus = dialog.frameFocus();
    EXPECT_EQ(focus.focusedEntry(), -1);

    tab(dialog);
    EXPECT_EQ(focus.focusedEntry(), 0);
    EXPECT_TRUE(focus.isMarkShown());
    tab(dialog);
    EXPECT_EQ(focus.focusedEntry(), 1);
    tab(dialog);
    EXPECT_EQ(dialog.focusWidget(), dialog.field);
    EXPECT_EQ(focus.focusedEntry(), -1);
    tab(dialog);
    EXPECT_EQ(focus.focusedEntry(), 3); // the keys: one stop, entered at the first
    sendKey(dialog, Qt::Key_Right);
    EXPECT_EQ(focus.focusedEntry(), 4);
    sendKey(dialog, Qt::Key_End);
    EXPECT_EQ(focus.focusedEntry(), 5);
    sendKey(dialog, Qt::Key_Right); // the edge: stays
    EXPECT_EQ(focus.focusedEntry(), 5);
    sendKey(dialog, Qt::Key_Left);
    tab(dialog); // round to the start
    EXPECT_EQ(focus.focusedEntry(), 0);
    tab(dialog, false); // back into the keys, at the one left last
    EXPECT_EQ(focus.focusedEntry(), 4);
    tab(dialog, false);
    EXPECT_EQ(dialog.focusWidget(), dialog.field);
    tab(dialog, false);
    EXPECT_EQ(focus.focusedEntry(), 1);

    // Arrows do nothing on a button outside a group; they reach the dialog.
    dialog.keys.clear();
    sendKey(dialog, Qt::Key_Down);
    EXPECT_EQ(focus.focusedEntry(), 1);
    EXPECT_EQ(dialog.keys, (std::vector<int>{Qt::Key_Down}));

    // An entry that leaves the page: Tab goes on from where it was.
    dialog.page = 2;
    tab(dialog);
    tab(dialog);
    tab(dialog);
    EXPECT_EQ(focus.focusedEntry(), 7);
    dialog.page = 1;
    tab(dialog, false);
    EXPECT_EQ(focus.focusedEntry(), 4);
}

TEST_F(FrameAccessibilityTest, SpaceAndEnterPressAsAClickOnlyWhereTheMarkIs)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    // No mark yet: Enter and Space are the dialog's.
    sendKey(dialog, Qt::Key_Space);
    EXPECT_TRUE(dialog.clicks.empty());

    tab(dialog);
    tab(dialog);
    sendKey(dialog, Qt::Key_Space);
    sendKey(dialog, Qt::Key_Space, Qt::NoModifier, true); // held: pressed once
    sendKey(dialog, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.clicks, (std::vector<int>{2, 2}));

    // Keys a field lets pass reach the dialog, not the entry the mark was on.
    tab(dialog);
    ASSERT_EQ(dialog.focusWidget(), dialog.field);
    sendKey(dialog, Qt::Key_Enter);
    sendKey(dialog, Qt::Key_Down);
    EXPECT_EQ(dialog.clicks, (std::vector<int>{2, 2}));
    EXPECT_EQ(dialog.frameFocus().entry(), 1);
    tab(dialog); // back on the face

    // A click hides the mark and moves the focus to what it hit; Enter is the dialog's again.
    pressAndRelease(dialog, QPoint(15, 15));
    EXPECT_EQ(dialog.clicks, (std::vector<int>{2, 2, 1}));
    EXPECT_FALSE(dialog.frameFocus().isMarkShown());
    EXPECT_EQ(dialog.frameFocus().focusedEntry(), 0);
    dialog.keys.clear();
    sendKey(dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.clicks.size(), 3u);
    EXPECT_EQ(dialog.keys, (std::vector<int>{Qt::Key_Return}));
    tab(dialog);
    EXPECT_EQ(dialog.frameFocus().focusedEntry(), 1);
}

TEST_F(FrameAccessibilityTest, ACapturedKeyboardGetsEveryKeyUntouched)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    tab(dialog);
    dialog.captured = true;
    dialog.keys.clear();
    tab(dialog);
    tab(dialog, false);
    sendKey(dialog, Qt::Key_Space);
    sendKey(dialog, Qt::Key_Left);
    EXPECT_EQ(dialog.keys,
              (std::vector<int>{Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Left}));
    EXPECT_EQ(dialog.frameFocus().focusedEntry(), 0);
    EXPECT_TRUE(dialog.clicks.empty());
}

TEST_F(FrameAccessibilityTest, TheMarkIsDrawnInTheAccentOnlyAfterAKey)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    const QPoint edge(11, 20); // on the first button's edge, inside it
    EXPECT_NE(dialog.composeFace().pixelColor(edge), Accent);
    tab(dialog);
    EXPECT_EQ(dialog.composeFace().pixelColor(edge), Accent);
    EXPECT_NE(dialog.composeFace().pixelColor(QPoint(25, 20)), Accent); // the middle stays
    pressAndRelease(dialog, QPoint(60, 20));
    EXPECT_NE(dialog.composeFace().pixelColor(edge), Accent);
}

TEST_F(FrameAccessibilityTest, ActionsPressAfterTheRequestAndChangesAreAnnounced)
{
    AccessibleDialog dialog(state, fonts);
    ASSERT_TRUE(dialog.initialise());
    dialog.show();
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&dialog);
    QAccessibleInterface *two = frame->child(1);
    QAccessibleActionInterface *actions = two->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(frame->child(3)->actionInterface(), nullptr); // static text

    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(dialog.clicks.empty());
    QApplication::processEvents();
    EXPECT_EQ(dialog.clicks, (std::vector<int>{2}));
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(dialog.frameFocus().focusedEntry(), 1);

    announced.clear();
    announcedNames.clear();
    dialog.accessibility()->setObserver(&recordEvent);
    dialog.accessibility()->check();
    announced.clear();
    announcedNames.clear();
    state.language = "zh-CN";
    dialog.table()[0].checked = false;
    dialog.page = 2;
    dialog.accessibility()->check();
    const std::size_t beforeFocus = announced.size();
    tab(dialog);
    tab(dialog);
    dialog.accessibility()->setObserver({});

    const auto count = [](QAccessible::Event type) {
        return std::count(announced.begin(), announced.end(), type);
    };
    EXPECT_EQ(count(QAccessible::ObjectReorder), 2); // the frame and the keys
    EXPECT_EQ(count(QAccessible::NameChanged), 3);   // One, Two and the heading in Chinese
    EXPECT_EQ(count(QAccessible::StateChanged), 1);  // One unchecked
    // Past the field into the keys: the key is announced as focused, after the field.
    ASSERT_GT(announced.size(), beforeFocus);
    EXPECT_EQ(announced.back(), QAccessible::Focus);
    EXPECT_EQ(announcedNames.back(), QStringLiteral("K1"));
}
