#include "KeySettingsHarness.h"

#include "keymap/KeySettingsEditor.h"
#include "keymap/KeySettingsFields.h"
#include "model/StepEditing.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace KeySettingsTable;
using Steps = std::vector<std::string>;

namespace {

void key(QWidget *widget, int qtKey, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Types into a field over whatever it holds, as a user who selected it all.
void typeOver(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        key(field, Qt::Key_Backspace);
    for (QChar c : text)
        key(field, Qt::Key_0 + (c.isDigit() ? c.digitValue() : 0), QString(c));
}

ActionList macroList(const Steps &steps)
{
    ActionList list = namedList(1, 9);
    ActionList &macro = list.items.editAt(0);
    macro.names.clear();
    macro.items.clear();
    for (const std::string &step : steps)
        macro.setAt(20000, step);
    macro.top = 0;
    macro.selected = 0;
    return list;
}

QRect qtRect(const DrawnButton &entry)
{
    return QRect(entry.rect.left, entry.rect.top, entry.rect.width(), entry.rect.height());
}

void rightClick(CNuboDialogKeyMapSettings &dialog, int id)
{
    const QPoint at = centreOf(dialog, id);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog.mapToGlobal(at));
    QApplication::sendEvent(&dialog, &event);
}

} // namespace

TEST(KeySettingsEditor, NewRenameAndRemoveEntries)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(2, 9);
    f.state->predefinedMacros.names = {"New Macro 1", "New Macro 3"};
    auto dialog = f.open();
    dialog->clickId(FirstTab + 1);
    QLineEdit *editor = dialog->fields().inPlace();

    // New proposes the smallest free number over the new, selected row; Enter names it and
    // does not close the dialog.
    dialog->clickId(NewMacroButton);
    const WorkingList &macros = dialog->model().macros();
    ASSERT_EQ(macros.size(), 3);
    EXPECT_EQ(macros.selectedIndex(), 2);
    EXPECT_TRUE(macros.current().names.empty());
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "New Macro 2");
    EXPECT_EQ(editor->geometry().center().y(),
              qtRect(entryOf(*dialog, FirstMacroRow + 2)).center().y());
    key(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(macros.list().names[2], "New Macro 2");

    // A typed name is taken over by the next click, which does nothing else.
    dialog->clickId(NewMacroButton);
    EXPECT_EQ(editor->text(), "New Macro 4");
    editor->setText("Mine");
    dialog->clickId(FirstTab + 4);
    EXPECT_EQ(dialog->shownPage(), 2);
    EXPECT_EQ(macros.list().names[3], "Mine");

    // A second click on the selected entry renames it; Esc keeps the old name.
    dialog->clickId(FirstMacroRow + 3);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "Mine");
    editor->setText("Other");
    key(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(macros.list().names[3], "Mine");

    // Remove takes the selected entry; the one now at the selection becomes current.
    dialog->clickId(FirstMacroRow + 1);
    dialog->clickId(RemoveMacroButton);
    EXPECT_EQ(macros.list().names, (Steps{"New Macro 1", "New Macro 2", "Mine"}));
    EXPECT_EQ(macros.selectedIndex(), 1);
    for (int i = 0; i < 4; ++i)
        dialog->clickId(RemoveMacroButton);
    EXPECT_EQ(macros.size(), 0);

    // New and Delete of combinations act in combo mode only, named in the dialog's language.
    KeySettingsFixture zh(4, "zh-CN");
    dialog = zh.open();
    dialog->clickId(NewComboButton);
    EXPECT_EQ(dialog->model().combos().size(), 0);
    dialog->clickId(ComboRadio);
    dialog->clickId(NewComboButton);
    EXPECT_EQ(dialog->fields().inPlace()->text(), QString::fromUtf8("组合键1"));
    dialog->clickId(CancelButton);
    EXPECT_EQ(zh.state->predefinedCombos.size(), 0);
}

TEST(KeySettingsEditor, PlaySettingsAndTheirFields)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = macroList({"A Down", "<20 ms>", "A UP"});
    f.state->predefinedEmulations = namedList(1, 9, "E");
    auto dialog = f.open();
    dialog->clickId(FirstTab + 1);
    QLineEdit *times = dialog->fields().times();
    QLineEdit *delay = dialog->fields().autoDelay();
    const ActionList &macro = dialog->model().macros().current();
    // Read afresh each time: an edit gives the list storage of its own.
    const auto stored = [&]() -> const ActionList & {
        return dialog->model().macros().list().items[0];
    };

    typeOver(times, "300");
    EXPECT_EQ(times->text(), "255");
    EXPECT_EQ(stored().times, 255);
    typeOver(times, "0");
    EXPECT_EQ(times->text(), "1");
    EXPECT_EQ(stored().times, 1);
    typeOver(times, "12");
    EXPECT_EQ(stored().times, 12);
    // An emptied field keeps its place for typing; leaving it shows what is stored.
    typeOver(times, "");
    EXPECT_EQ(times->text(), "");
    EXPECT_EQ(stored().times, 1);
    emit times->editingFinished();
    EXPECT_EQ(times->text(), "1");
    // Enter in the fields is theirs.
    key(times, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), 0);

    // Only "Times Play" takes the times field.
    dialog->clickId(PressPlayRadio);
    dialog->grab();
    EXPECT_EQ(stored().playMode, 1);
    EXPECT_FALSE(times->isEnabled());
    dialog->clickId(TogglePlayRadio);
    EXPECT_EQ(stored().playMode, 2);
    dialog->clickId(TimesPlayRadio);
    dialog->grab();
    EXPECT_EQ(stored().playMode, 0);
    EXPECT_TRUE(times->isEnabled());

    // Auto delay takes the field's value and drops the recorded delays; record delay puts the
    // fixed one between the steps.
    EXPECT_FALSE(delay->isEnabled());
    delay->setText("45");
    dialog->clickId(AutoDelayCheck);
    EXPECT_TRUE(delay->isEnabled());
    EXPECT_TRUE(stored().autoDelay);
    EXPECT_EQ(stored().delayMs, 45);
    EXPECT_EQ(stored().names, (Steps{"A Down", "A UP"}));
    typeOver(delay, "70000");
    EXPECT_EQ(delay->text(), "60000");
    typeOver(delay, "60");
    key(delay, Qt::Key_Enter);
    EXPECT_EQ(dialog->result(), 0);
    dialog->clickId(AutoDelayCheck);
    EXPECT_EQ(stored().names, (Steps{"A Down", "A UP"}));
    dialog->clickId(RecordDelayCheck);
    dialog->grab();
    EXPECT_FALSE(delay->isEnabled());
    EXPECT_EQ(macro.names, (Steps{"A Down", "<60 ms>", "A UP"}));
    EXPECT_EQ(stored().names, macro.names);

    // The emulation's interval: at most 6000 ms.
    dialog->clickId(FirstTab + 2);
    typeOver(times, "7000");
    EXPECT_EQ(times->text(), "6000");
    EXPECT_EQ(dialog->model().emulations().list().items[0].delayMs, 6000);
    dialog->clickId(OkButton);
    EXPECT_EQ(dialog->change()->assignment.action.delayMs, 6000);
}

TEST(KeySettingsEditor, AFieldBeingTypedInFollowsTheSelectionAndThePage)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(2, 9, "M");
    f.state->predefinedEmulations = namedList(1, 9, "E");
    f.state->predefinedEmulations.items.editAt(0).delayMs = 40;
    auto dialog = f.open();
    // Focus is what lets a field keep its text: the window must have it.
    dialog->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return dialog->isActiveWindow(); }));
    dialog->clickId(FirstTab + 1);
    QLineEdit *times = dialog->fields().times();
    const ActionList &macros = dialog->model().macros().list();

    // Typed for the second macro, the field goes on with the first once that is selected.
    dialog->clickId(FirstMacroRow + 1);
    typeOver(times, "9");
    ASSERT_TRUE(times->hasFocus());
    dialog->clickId(FirstMacroRow);
    EXPECT_EQ(times->text(), "1");
    key(times, Qt::Key_End);
    key(times, Qt::Key_5, "5");
    EXPECT_EQ(macros.items[0].times, 15);
    EXPECT_EQ(macros.items[1].times, 9);
    // An emptied field is the user's while the entry stays; another entry shows its own.
    typeOver(times, "");
    dialog->grab();
    EXPECT_EQ(times->text(), "");
    dialog->clickId(FirstMacroRow + 1);
    EXPECT_EQ(times->text(), "9");

    // The same field is the emulation's interval on the next page, and the times again back.
    ASSERT_TRUE(times->hasFocus());
    dialog->clickId(FirstTab + 2);
    EXPECT_EQ(times->text(), "40");
    typeOver(times, "6000");
    dialog->clickId(FirstTab + 1);
    EXPECT_EQ(times->text(), "9");
    EXPECT_EQ(dialog->model().emulations().list().items[0].delayMs, 6000);
    EXPECT_EQ(macros.items[1].times, 9);
}

TEST(KeySettingsEditor, StepRowsEditDelaysAndTakeMouseActions)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros
        = macroList({"A Down", "<20 ms>", "A UP", "<30 ms>", "B Down", "<40 ms>", "B UP"});
    auto dialog = f.open();
    dialog->clickId(FirstTab + 1);
    QLineEdit *editor = dialog->fields().inPlace();
    // Read afresh each time: an edit gives the list storage of its own.
    const auto stored = [&]() -> const ActionList & {
        return dialog->model().macros().list().items[0];
    };

    // A second click on a selected delay opens its number; what is typed is clamped.
    dialog->clickId(FirstMacroStepRow + 1);
    EXPECT_FALSE(editor->isVisible());
    dialog->clickId(FirstMacroStepRow + 1);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "20");
    editor->setText("70000");
    key(editor, Qt::Key_Return);
    EXPECT_EQ(stored().names[1], "<65535 ms>");
    // Key steps have no number to edit.
    dialog->clickId(FirstMacroStepRow + 2);
    dialog->clickId(FirstMacroStepRow + 2);
    EXPECT_FALSE(editor->isVisible());

    // The menu puts a click before the clicked step, each with its own "<0 ms>".
    dialog->menuAnswer = StepEditing::LeftClick;
    rightClick(*dialog, FirstMacroStepRow + 4);
    EXPECT_EQ(stored().names,
              (Steps{"A Down", "<65535 ms>", "A UP", "<30 ms>", "Mouse Key Left", "<0 ms>",
                     "Mouse Key Left", "<0 ms>", "B Down", "<40 ms>", "B UP"}));
    // Delete takes the clicked step's own delay, not the one at the selected row.
    dialog->menuAnswer = StepEditing::DeleteStep;
    rightClick(*dialog, FirstMacroStepRow + 8);
    EXPECT_EQ(stored().names, (Steps{"A Down", "<65535 ms>", "A UP", "<30 ms>", "Mouse Key Left",
                                     "<0 ms>", "Mouse Key Left", "<0 ms>", "B UP"}));
    // The last key goes with the delay before it.
    rightClick(*dialog, FirstMacroStepRow + 8);
    EXPECT_EQ(stored().size(), 7);
    EXPECT_EQ(stored().names.back(), "Mouse Key Left");
    // No menu on rows without a step, nor on other rows, nor while recording.
    const int menus = dialog->menusRun;
    rightClick(*dialog, LastMacroStepRow);
    rightClick(*dialog, FirstMacroRow);
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
    dialog->clickId(RecordMacroButton);
    rightClick(*dialog, FirstMacroStepRow);
    EXPECT_EQ(dialog->menusRun, menus);
    dialog->clickId(RecordMacroButton);
}

TEST(KeySettingsEditor, TheVirtualKeyboardPicksACombinationsKeys)
{
    KeySettingsFixture f(4);
    f.state->predefinedCombos = namedList(1, 6, "C");
    auto dialog = f.open();
    dialog->virtualCodes = std::vector<int>{67, 69, 43};
    dialog->clickId(VirtualComboButton); // single mode: nothing
    EXPECT_EQ(dialog->virtualModes, 0);
    dialog->clickId(ComboRadio);
    dialog->clickId(VirtualComboButton);
    EXPECT_EQ(dialog->virtualModes, 2);
    EXPECT_EQ(dialog->model().combos().list().items[0].names, (Steps{"LCTRL", "LALT", "A"}));

    // At most six, and Cancel keeps what there is.
    dialog->virtualCodes = std::vector<int>{43, 44, 45, 46, 47, 48, 49};
    dialog->clickId(VirtualComboButton);
    EXPECT_EQ(dialog->model().combos().current().size(), 6);
    dialog->virtualCodes.reset();
    dialog->clickId(VirtualComboButton);
    EXPECT_EQ(dialog->model().combos().current().size(), 6);

    // Without any entry the keys still go to the key, and the list stays empty.
    f.state->predefinedCombos = ActionList(6);
    dialog = f.open();
    dialog->clickId(ComboRadio);
    dialog->virtualCodes = std::vector<int>{67, 43};
    dialog->clickId(VirtualComboButton);
    EXPECT_EQ(dialog->virtualModes, 2);
    dialog->clickId(OkButton);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.category, KeyAssignment::Combo);
    EXPECT_EQ(dialog->change()->assignment.action.names, (Steps{"LCTRL", "A"}));
    EXPECT_EQ(dialog->change()->listValue.size(), 0);
}

TEST(KeySettingsEditor, NumberFieldsShowTheirLargestValuesWhole)
{
    // The width a value needs in a field, as the field measures its own size hint.
    const auto needs = [](const QLineEdit *field, const QString &text) {
        const QFontMetrics metrics(field->font());
        const int frame = field->sizeHint().width() - 17 * metrics.horizontalAdvance(u'x') - 4;
        return metrics.horizontalAdvance(text) + 4 + 1 + frame; // margins and the cursor
    };
    for (const char *language : {"en-US", "zh-CN"}) {
        for (float scale : {1.0f, 1.5f}) {
            SCOPED_TRACE(std::string(language) + " at " + std::to_string(scale));
            KeySettingsFixture f(4, language);
            f.state->scaleFactor = scale;
            auto dialog = f.open();
            // Each field with its largest value and the unit after it.
            const struct {
                int page;
                QLineEdit *field;
                const char *value;
                int unit;
            } fields[] = {{2, dialog->fields().times(), "255", 275},
                          {2, dialog->fields().autoDelay(), "60000", 276},
                          {3, dialog->fields().times(), "6000", 359}};
            for (const auto &f : fields) {
                dialog->clickId(FirstTab + f.page - 1);
                const QRect unit = dialog->clientRect(entryOf(*dialog, f.unit).rect);
                EXPECT_GE(f.field->width(), needs(f.field, f.value)) << f.value;
                EXPECT_LT(f.field->geometry().right(), unit.left()) << f.value;
            }
        }
    }
}
