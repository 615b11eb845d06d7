#include "KeySettingsHarness.h"

#include "keymap/KeySettingsEditor.h"
#include "keymap/KeySettingsFields.h"
#include "skin/CSkinScrollBar.h"
#include "skin/SkinTooltip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>

using namespace KeySettingsTable;
using Recording = KeySettingsModel::Recording;

namespace {

void paint(QWidget &dialog)
{
    dialog.grab();
}

bool contains(const std::vector<int> &ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

TEST(KeySettingsDialog, OpensOnThePageAndStateOfTheKey)
{
    KeySettingsFixture f(4);
    ASSERT_TRUE(f.skinsLoaded);
    f.state->predefinedCombos = namedList(3, 6, "K");
    f.state->predefinedEmulations = namedList(2, 9, "E");

    struct Case {
        KeyAssignment assignment;
        int page;
        int checked; // the entry that shows it, -1 for none
    } cases[] = {
        {{0, 0, {}}, 1, SingleRadio},
        {{1, 60, {}}, 1, SingleRadio},
        {{2, 0, f.state->predefinedCombos.items[2]}, 1, ComboRadio},
        {{4, 0, f.state->predefinedEmulations.items[1]}, 3, FirstEmuRow + 1},
        {{5, 113, {}}, 4, 407},
        {{6, 127, {}}, 5, 503},
        {{7, 156, {}}, 6, 615},
        {{8, 77, {}}, 7, 703},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.assignment.category);
        f.state->setAssignment(5, 0, c.assignment);
        auto dialog = f.open();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->shownPage(), c.page);
        paint(*dialog);
        EXPECT_TRUE(entryOf(*dialog, c.checked).checked);
        // Exactly one code button of a code page is checked.
        if (c.page >= 4) {
            int checked = 0;
            for (int id : shownButtons(*dialog, c.page))
                checked += entryOf(*dialog, id).checked;
            EXPECT_EQ(checked, 1);
        }
        if (c.assignment.category == 1) {
            EXPECT_EQ(entryOf(*dialog, SingleKeyName).captions.at("en-US"), "B");
        }
        if (c.assignment.category == 2) {
            EXPECT_EQ(dialog->fields().comboKeys()->toPlainText(), "K2");
            EXPECT_TRUE(entryOf(*dialog, FirstComboRow + 2).checked);
            EXPECT_EQ(entryOf(*dialog, FirstComboRow + 2).captions.at("en-US"), "n2");
        }
    }

    // A macro no longer in the list is shown as a new "default" entry, selected.
    f.state->predefinedMacros = namedList(2, 9, "M");
    f.state->setAssignment(5, 0, {3, 0, namedList(1, 9, "Z").items[0]});
    auto dialog = f.open();
    EXPECT_EQ(dialog->shownPage(), 2);
    paint(*dialog);
    EXPECT_EQ(entryOf(*dialog, FirstMacroRow + 2).captions.at("en-US"), "default");
    EXPECT_TRUE(entryOf(*dialog, FirstMacroRow + 2).checked);
    EXPECT_EQ(entryOf(*dialog, FirstMacroStepRow).captions.at("en-US"), "Z0");
    EXPECT_TRUE(entryOf(*dialog, RecordDelayCheck).checked);
    EXPECT_TRUE(entryOf(*dialog, TimesPlayRadio).checked);
    EXPECT_EQ(dialog->fields().times()->text(), "1");
    EXPECT_EQ(dialog->fields().autoDelay()->text(), "30");
    EXPECT_FALSE(dialog->fields().autoDelay()->isEnabled());
    EXPECT_TRUE(dialog->fields().times()->isVisible());
    EXPECT_FALSE(dialog->fields().comboKeys()->isVisible());
}

TEST(KeySettingsDialog, DefaultClearOkAndCancel)
{
    KeySettingsFixture f(4, "en-US", 88, 0); // Mute by default
    f.state->setAssignment(88, 0, {1, 43, {}});
    auto dialog = f.open();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->clickId(DefaultButton));
    EXPECT_EQ(dialog->shownPage(), 4);
    paint(*dialog);
    EXPECT_TRUE(entryOf(*dialog, 408).checked);           // Mute
    EXPECT_EQ(f.state->code[AppState::index(88, 0)], 43); // shown, not stored

    EXPECT_TRUE(dialog->clickId(ClearButton));
    EXPECT_EQ(dialog->shownPage(), 1);
    EXPECT_TRUE(dialog->clickId(OkButton));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.category, KeyAssignment::NotSet);

    // OK on the Multimedia page with nothing chosen: "Not set".
    dialog = f.open();
    dialog->clickId(FirstTab + 3);
    dialog->clickId(OkButton);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->assignment.category, KeyAssignment::NotSet);

    // Cancel discards the list grown by a missing macro; OK keeps it.
    f.state->predefinedMacros = namedList(2, 9, "M");
    f.state->setAssignment(88, 0, {3, 0, namedList(1, 9, "Z").items[0]});
    dialog = f.open();
    dialog->clickId(CancelButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->change());
    EXPECT_EQ(f.state->predefinedMacros.size(), 2);
    dialog = f.open();
    dialog->clickId(CloseMark);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->change());
    dialog = f.open();
    dialog->clickId(OkButton);
    dialog->change()->applyTo(*f.state);
    EXPECT_EQ(f.state->predefinedMacros.size(), 3);
    EXPECT_EQ(f.state->category[AppState::index(88, 0)], KeyAssignment::Macro);
}

TEST(KeySettingsDialog, CodeButtonsChooseOneCodeAndFnTakesBothLayers)
{
    KeySettingsFixture f(3, "en-US", 5, 0);
    auto dialog = f.open();
    dialog->clickId(FirstTab + 5);
    ASSERT_EQ(dialog->shownPage(), 6);
    dialog->clickId(610);
    dialog->clickId(615); // FN replaces Win Lock
    paint(*dialog);
    EXPECT_FALSE(entryOf(*dialog, 610).checked);
    EXPECT_TRUE(entryOf(*dialog, 615).checked);
    dialog->clickId(OkButton);
    ASSERT_TRUE(dialog->change());
    dialog->change()->applyTo(*f.state);
    EXPECT_EQ(f.state->code[AppState::index(5, 0)], 156);
    EXPECT_EQ(f.state->code[AppState::index(5, 1)], 156);
    EXPECT_EQ(f.state->category[AppState::index(5, 1)], KeyAssignment::Function);

    // A second click on the chosen button unchooses it.
    dialog = f.open();
    EXPECT_EQ(dialog->shownPage(), 6);
    dialog->clickId(615);
    paint(*dialog);
    EXPECT_FALSE(entryOf(*dialog, 615).checked);
    EXPECT_EQ(dialog->model().chosenCode(6), -1);
}

TEST(KeySettingsDialog, TheFunctionPageShowsTheKeyboardsOwnButtons)
{
    std::vector<int> quilloS{605, 608, 610, 611, 613, 614, 615, 616, 617, 623, 624};
    for (int deviceType = 1; deviceType <= 4; ++deviceType) {
        SCOPED_TRACE(deviceType);
        KeySettingsFixture f(deviceType);
        auto dialog = f.open();
        dialog->clickId(FirstTab + 5);
        std::vector<int> shown = shownButtons(*dialog, 6);
        if (deviceType == 3) {
            EXPECT_EQ(shown, quilloS);
        }
        EXPECT_EQ(contains(shown, 601), deviceType <= 2);                    // Bluetooth
        EXPECT_EQ(contains(shown, 612), deviceType <= 2);                    // keyboard lock
        EXPECT_EQ(contains(shown, 630), deviceType != 2 && deviceType != 3); // backlight
        EXPECT_TRUE(contains(shown, 615));
        // Another page's buttons are neither shown nor hit.
        EXPECT_FALSE(contains(shownButtons(*dialog, 0), 401));
        EXPECT_FALSE(dialog->clickId(401));
    }
}

TEST(KeySettingsDialog, ClicksStopARecordingFirst)
{
    KeySettingsFixture f(4);
    auto dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));

    // A running single-key capture: its own virtual keyboard button does nothing at all.
    dialog->model().setRecording(Recording::SingleKey);
    dialog->recordingHook().start();
    dialog->virtualAnswer = 70;
    dialog->clickId(VirtualSingleButton);
    EXPECT_EQ(dialog->model().recording(), Recording::SingleKey);
    EXPECT_EQ(dialog->virtualModes, 0);
    paint(*dialog);
    EXPECT_TRUE(entryOf(*dialog, CaptureStopLabel).showText);
    EXPECT_FALSE(entryOf(*dialog, CaptureLabel).showText);
    // Any other click only stops it.
    dialog->clickId(FirstTab + 3);
    EXPECT_EQ(dialog->model().recording(), Recording::None);
    EXPECT_EQ(FakeHook::uninstalls, 1);
    EXPECT_EQ(dialog->shownPage(), 1);
    dialog->clickId(FirstTab + 3);
    EXPECT_EQ(dialog->shownPage(), 4);

    // A macro recording is stopped even by OK, which then does nothing more.
    dialog->model().setRecording(Recording::Macro);
    dialog->clickId(OkButton);
    EXPECT_EQ(dialog->model().recording(), Recording::None);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(dialog->isVisible());

    // A combination recording lets OK through.
    dialog->model().setRecording(Recording::Combination);
    dialog->clickId(OkButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    // An open in-place editor is committed by a click, which ends there.
    f.state->predefinedCombos = namedList(1, 6);
    dialog = f.open();
    dialog->editor().beginRename(1, 0, "renamed");
    EXPECT_TRUE(dialog->fields().inPlace()->isVisible());
    dialog->clickId(FirstTab + 6);
    EXPECT_FALSE(dialog->fields().inPlace()->isVisible());
    EXPECT_EQ(dialog->shownPage(), 1);
    EXPECT_EQ(dialog->model().combos().list().names[0], "renamed");
}

TEST(KeySettingsDialog, EveryWayOutGivesTheKeyboardBack)
{
    KeySettingsFixture f(4);
    // The global hook, closed by Escape.
    auto dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(true));
    dialog->model().setRecording(Recording::Macro);
    EXPECT_TRUE(dialog->recordingHook().start());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(FakeHook::uninstalls, 1);
    EXPECT_FALSE(dialog->recordingHook().isActive());

    // The dialog's own grab, where the hook cannot open the keyboards, closed from the desktop.
    dialog = f.open();
    dialog->recordingHook().setGlobalHook(FakeHook::hook(false));
    EXPECT_FALSE(dialog->recordingHook().start());
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    dialog->close();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(FakeHook::uninstalls, 0);

    // Enter outside the fields confirms with the OK steps; inside them it belongs to them.
    dialog = f.open();
    dialog->clickId(FirstTab + 1);
    dialog->fields().times()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enter);
    EXPECT_EQ(dialog->result(), 0);
    dialog->fields().times()->clearFocus();
    dialog->setFocus();
    QApplication::sendEvent(dialog.get(), &enter);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(dialog->change());
    EXPECT_EQ(dialog->change()->list, KeyMapChange::List::Macros);
}

TEST(KeySettingsDialog, ScrollBarsFollowTheSelection)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(20, 9, "M");
    auto dialog = f.open();
    dialog->clickId(FirstTab + 1);
    CSkinScrollBar &entries = dialog->entryScrollBar();
    CSkinScrollBar &steps = dialog->stepScrollBar();
    EXPECT_TRUE(entries.isVisible());
    EXPECT_TRUE(steps.isVisible());
    EXPECT_EQ(entries.width(), 15);
    EXPECT_EQ(entries.geometry(), QRect(181, 115, 15, 126));
    EXPECT_EQ(entries.scrollInfo().maximum, 28);
    EXPECT_EQ(entries.scrollInfo().page, 9);

    emit entries.scrollRequested(CSkinScrollBar::LineDown, 0);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 1);
    EXPECT_EQ(entries.scrollInfo().position, 1);
    paint(*dialog);
    EXPECT_EQ(entryOf(*dialog, FirstMacroStepRow).captions.at("en-US"), "M1");
    emit entries.scrollRequested(CSkinScrollBar::ThumbPosition, 15);
    EXPECT_EQ(dialog->model().macros().list().top, 15);
    EXPECT_EQ(dialog->model().macros().list().selected, 0);
    emit entries.scrollRequested(CSkinScrollBar::PageDown, 0);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 19);
    EXPECT_EQ(entries.scrollInfo().position, 19);

    // Rows: a click selects an entry, which becomes current; steps select within it.
    dialog->clickId(FirstMacroRow + 2);
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 17);
    EXPECT_EQ(dialog->model().macros().current().names[0], "M17");
    dialog->clickId(FirstMacroRow + 7); // no entry there
    EXPECT_EQ(dialog->model().macros().selectedIndex(), 17);
    dialog->model().macros().current().setAt(20000, "X");
    dialog->clickId(FirstMacroStepRow);
    EXPECT_EQ(dialog->model().macros().current().selected, 0);
    dialog->clickId(FirstMacroRow + 1);
    EXPECT_EQ(dialog->model().macros().list().items[17].size(), 2); // stored back

    // Page 1 has one bar, 96 high; code pages none. Scaled with the window.
    dialog->clickId(FirstTab);
    EXPECT_EQ(entries.geometry(), QRect(358, 137, 15, 96));
    EXPECT_FALSE(steps.isVisible());
    dialog->clickId(FirstTab + 4);
    EXPECT_FALSE(entries.isVisible());

    f.state->scaleFactor = 1.5f;
    dialog = f.open();
    dialog->clickId(FirstTab + 2);
    EXPECT_EQ(dialog->size(), QSize(885, 555));
    EXPECT_EQ(dialog->entryScrollBar().geometry(), QRect(271, 172, 22, 189));
    EXPECT_EQ(dialog->fields().times()->geometry(), QRect(705, 168, 69, 27));
    EXPECT_EQ(dialog->fields().times()->font().pixelSize(), 19);
}

TEST(KeySettingsDialog, VirtualKeyboardGivesTheSingleKey)
{
    KeySettingsFixture f(4);
    f.state->setAssignment(5, 0, {1, 43, {}});
    auto dialog = f.open();
    dialog->virtualAnswer = 70; // Space
    dialog->clickId(VirtualSingleButton);
    EXPECT_EQ(dialog->virtualModes, 1);
    EXPECT_EQ(dialog->model().singleKey(), 32);
    paint(*dialog);
    EXPECT_EQ(entryOf(*dialog, SingleKeyName).captions.at("en-US"), "SPACEBAR");
    // The pick started from the key shown.
    dialog->virtualAnswer.reset();
    dialog->clickId(VirtualSingleButton);
    EXPECT_EQ(f.state->virtualPick, 70);
    EXPECT_EQ(dialog->model().singleKey(), 32); // Cancel keeps it
    // In combo mode the button does nothing.
    dialog->clickId(ComboRadio);
    dialog->clickId(VirtualSingleButton);
    EXPECT_EQ(dialog->virtualModes, 11);
    dialog->clickId(OkButton);
    EXPECT_EQ(dialog->change()->assignment.category, KeyAssignment::NotSet); // no combinations
}

TEST(KeySettingsDialog, ThePointerHoldsClicksAndShowsTooltips)
{
    KeySettingsFixture f(4, "zh-CN");
    auto dialog = f.open();
    // A release acts once the hold is over; a double click acts once.
    click(*dialog, centreOf(*dialog, FirstTab + 3));
    EXPECT_EQ(dialog->shownPage(), 1);
    EXPECT_TRUE(dialog->clickHold().isHolding());
    QElapsedTimer held;
    held.start();
    EXPECT_TRUE(waitUntil([&] { return dialog->shownPage() == 4; }));
    EXPECT_GE(held.elapsed(), CNuboDialogKeyMapSettings::ClickHoldMs - 20);
    doubleClick(*dialog, centreOf(*dialog, 402));
    EXPECT_TRUE(waitUntil([&] { return !dialog->clickHold().isHolding(); }));
    EXPECT_EQ(dialog->model().chosenCode(4), 111);

    // Tooltips: code buttons only, in the dialog's language, gone with a page switch.
    auto *tooltip = dialog->findChild<SkinTooltip *>();
    ASSERT_TRUE(tooltip);
    moveMouse(*dialog, centreOf(*dialog, 405));
    EXPECT_TRUE(waitUntil([&] { return tooltip->isVisible(); }));
    EXPECT_EQ(tooltip->text(), QString::fromUtf8("上一首"));
    moveMouse(*dialog, centreOf(*dialog, FirstTab + 4));
    EXPECT_FALSE(tooltip->isVisible());
    moveMouse(*dialog, centreOf(*dialog, 405));
    dialog->clickId(FirstTab + 4);
    EXPECT_FALSE(tooltip->isVisible());
    waitUntil([] { return false; }, 150);
    EXPECT_FALSE(tooltip->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("按键设置面板"));
}

TEST(KeySettingsDialog, ListRowsDrawTheirWholeTextInTheRowsFont)
{
    // The text of each macro row: the pixel rows, counted from the row's top, where its face
    // differs from the face with the names left out.
    const auto textLines = [](const std::vector<std::string> &names) {
        KeySettingsFixture f(4);
        f.state->predefinedMacros = namedList(int(names.size()), 9, "M");
        auto blank = f.open();
        blank->clickId(FirstTab + 1);
        const QImage without = blank->composeFace().copy();
        f.state->predefinedMacros.names = SharedVector<std::string>(names);
        auto named = f.open();
        named->clickId(FirstTab + 1);
        const QImage with = named->composeFace();
        std::vector<std::pair<int, int>> lines; // first and last pixel row of each
        for (int r = 0; r < int(names.size()); ++r) {
            const ButtonRect rect = entryOf(*named, FirstMacroRow + r).rect;
            int first = -1, last = -1;
            for (int y = rect.top; y < rect.bottom + 2; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    if (with.pixel(x, y) != without.pixel(x, y)) {
                        first = first < 0 ? y - rect.top : first;
                        last = y - rect.top;
                        break;
                    }
                }
            }
            lines.emplace_back(first, last);
        }
        return lines;
    };
    const auto lines = textLines({"greeting", std::string(300, 'W'), "WWW"});
    // Cut short, a long name keeps the font and the place of a short one.
    EXPECT_EQ(lines[1], lines[2]);
    // Every row lays its text out in a place as high as the font, descenders included.
    KeySettingsFixture f(4);
    auto dialog = f.open();
    const int fontHeight = QFontMetrics(f.fonts.font(RowFontSize)).height();
    for (int first : {FirstComboRow, FirstMacroRow, FirstMacroStepRow, FirstEmuRow}) {
        const DrawnButton &row = entryOf(*dialog, first);
        const ButtonRect base = ButtonTable::toBase(row.rect, dialog->scale());
        const QRect rect(base.left, base.top, base.width(), base.height());
        EXPECT_GE(dialog->captionRect(row, rect).height(), fontHeight) << first;
    }
}

TEST(KeySettingsDialog, TheWheelScrollsTheListsAsTheirBarsDo)
{
    KeySettingsFixture f(4);
    f.state->predefinedMacros = namedList(12, 9, "M");
    f.state->predefinedMacros.items.editAt(0).names = {"A Down", "<10 ms>", "A UP"};
    f.state->predefinedCombos = namedList(8, 6, "C");
    auto dialog = f.open();
    const auto turn = [&](QWidget &widget, QPoint at, int angle) {
        QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &event);
    };
    const WorkingList &macros = dialog->model().macros();

    // Over the macro list, between its rows and on its bar: a line a notch, down and up.
    dialog->clickId(FirstTab + 1);
    turn(*dialog, centreOf(*dialog, FirstMacroRow + 4), -120);
    EXPECT_EQ(macros.selectedIndex(), 1);
    const ButtonRect second = entryOf(*dialog, FirstMacroRow + 1).rect;
    turn(*dialog, QPoint(second.left + 5, second.bottom), -240);
    EXPECT_EQ(macros.selectedIndex(), 3);
    turn(dialog->entryScrollBar(), QPoint(5, 40), 120);
    EXPECT_EQ(macros.selectedIndex(), 2);
    // A fine wheel adds up to notches.
    for (int i = 0; i < 4; ++i)
        turn(*dialog, centreOf(*dialog, FirstMacroRow), -60);
    EXPECT_EQ(macros.selectedIndex(), 4);
    EXPECT_EQ(dialog->entryScrollBar().scrollInfo().position, 4);

    // Over the steps they are scrolled, not the macros; elsewhere nothing moves.
    turn(*dialog, centreOf(*dialog, FirstMacroRow), 120 * 4);
    ASSERT_EQ(macros.selectedIndex(), 0);
    turn(*dialog, centreOf(*dialog, FirstMacroStepRow + 8), -240);
    EXPECT_EQ(macros.current().selected, 2);
    EXPECT_EQ(macros.selectedIndex(), 0);
    turn(*dialog, centreOf(*dialog, OkButton), -120);
    EXPECT_EQ(macros.current().selected, 2);
    EXPECT_EQ(macros.selectedIndex(), 0);

    // The combinations of the first page in combo mode.
    dialog->clickId(FirstTab);
    dialog->clickId(ComboRadio);
    turn(*dialog, centreOf(*dialog, FirstComboRow + 5), -120);
    EXPECT_EQ(dialog->model().combos().selectedIndex(), 1);
}
