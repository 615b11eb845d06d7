#include "MainWindowHarness.h"

#include "app/KeyCommand.h"
#include "keymap/CNuboDialogKeyMapSettings.h"
#include "layout/KeySettingsTable.h"
#include "layout/MainWindowTable.h"
#include "layout/WindowsColour.h"
#include "skin/CaptionFit.h"
#include "skin/SkinLibrary.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const QSize FaceSize(MainWindowTable::BaseWidth, MainWindowTable::BaseHeight);

// The main window with the built skins for its dialogs; the key settings dialog is driven by
// a list of clicks once it runs.
struct KeyCommandFixture {
    explicit KeyCommandFixture(int variant)
        : attached(variant)
        , window(attached.state, attached.fonts, positionCodedSkin(FaceSize))
    {
        skinsLoaded = skins.load(QCoreApplication::applicationDirPath(), variant);
        window.setSkinLibrary(&skins);
    }

    bool start()
    {
        if (!window.initialise())
            return false;
        window.show();
        return true;
    }

    // The next key dialog gets these clicks (by id) once its modal loop runs.
    void script(std::vector<int> clicks)
    {
        window.keyCommand().setDialogHook([this, clicks](CNuboDialogKeyMapSettings &dialog) {
            opened.push_back({dialog.model().key(), dialog.model().layer()});
            QTimer::singleShot(0, &dialog, [&dialog, clicks] {
                for (int id : clicks)
                    dialog.clickId(id);
                if (dialog.isVisible())
                    dialog.reject(); // a script that forgot to close
            });
        });
    }

    int keyButton(int key) const
    {
        return MainWindowTable::build(attached.state.deviceType)[std::size_t(12 + key)].id;
    }

    AttachedKeyboard attached;
    ScriptedMainWindow window;
    SkinLibrary skins;
    bool skinsLoaded = false;
    std::vector<std::pair<int, int>> opened; // key and layer of each dialog
};

} // namespace

TEST(KeyCommand, AKeyClickOpensItsSettingsAndOkStoresThem)
{
    using namespace KeySettingsTable;
    KeyCommandFixture f(4);
    ASSERT_TRUE(f.skinsLoaded);
    ASSERT_TRUE(f.start());
    AppState &state = f.attached.state;

    // Multimedia, Play/Pause, OK: the key becomes a multimedia key, not yet written.
    f.script({FirstTab + 3, 402, OkButton});
    f.window.runCommand(f.keyButton(30)); // W
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.opened[0], (std::pair<int, int>{30, 0}));
    EXPECT_EQ(state.currentKey, 30);
    EXPECT_EQ(state.category[AppState::index(30, 0)], KeyAssignment::Multimedia);
    EXPECT_EQ(state.code[AppState::index(30, 0)], 111);
    EXPECT_TRUE(state.notWritten);

    // The key is drawn checked, with the multimedia bar.
    const QImage grab = grabWindow(f.window);
    const ButtonRect key = MainWindowTable::build(4)[12 + 30].rect;
    const QRect bar(QPoint(key.left + (key.width() - 14) / 2, key.bottom - 4),
                    QPoint(key.right - (key.width() - 14) / 2 - 1, key.bottom - 1));
    EXPECT_EQ(grab.pixelColor(bar.center()),
              colourFromWindows(MainWindowTable::categoryColours[5]));
    EXPECT_EQ(imageOfPixel(grab.pixel(key.left + 2, key.top + 2)), 2);

    // Cancel changes nothing, not even the unwritten mark.
    state.notWritten = false;
    f.script({FirstTab + 4, 506, CancelButton});
    f.window.runCommand(f.keyButton(30));
    EXPECT_EQ(state.code[AppState::index(30, 0)], 111);
    EXPECT_FALSE(state.notWritten);

    // On the Fn layer the dialog edits the Fn layer; FN on key 5 takes both layers.
    f.window.runCommand(LayerButton);
    f.script({FirstTab + 5, 615, OkButton});
    f.window.runCommand(f.keyButton(5));
    EXPECT_EQ(f.opened.back(), (std::pair<int, int>{5, 1}));
    EXPECT_EQ(state.code[AppState::index(5, 0)], 156);
    EXPECT_EQ(state.code[AppState::index(5, 1)], 156);
    EXPECT_TRUE(state.notWritten);
}

TEST(KeyCommand, StoringIsOneStepThatMarksTheConfiguration)
{
    AttachedKeyboard attached(3);
    attached.state.resetKeyModel();
    KeyCommand command(attached.state,
                       {attached.state.language, attached.state.scaleFactor, attached.fonts});
    KeyMapChange change;
    change.key = 9;
    change.layer = 1;
    change.assignment = {KeyAssignment::Power, 76, {}};
    change.list = KeyMapChange::List::Emulations;
    change.listValue.setAt(20000, "Hello");
    command.store(change);
    EXPECT_EQ(attached.state.category[AppState::index(9, 1)], KeyAssignment::Power);
    EXPECT_EQ(attached.state.predefinedEmulations.names, std::vector<std::string>{"Hello"});
    EXPECT_TRUE(attached.state.notWritten);
    // Keys outside the keyboard open nothing.
    EXPECT_FALSE(command.run(nullptr, 0));
    EXPECT_FALSE(command.run(nullptr, 109));
}

// A caption too long for any size it may take is cut with an ellipsis, within its place.
TEST(CaptionFit, CutsWhatNoSizeHolds)
{
    FontTable fonts;
    const QRect narrow(0, 0, 40, 20);
    const CaptionFit::Fit cut
        = CaptionFit::fit(fonts.font(13), narrow, Qt::AlignLeft, QStringLiteral("Multimedia keys"));
    EXPECT_TRUE(cut.text.endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(cut.font).horizontalAdvance(cut.text), narrow.width());
    EXPECT_GE(cut.font.pixelSize(), 8);
}
